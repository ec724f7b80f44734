#include "platform/Clock.h"

QDateTime TClock::Fixed;

QDateTime TClock::Now()
{
    return Fixed.isValid() ? Fixed : QDateTime::currentDateTime();
}
