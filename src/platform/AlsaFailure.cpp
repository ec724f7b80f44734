// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AlsaFailure.h"

#include <alsa/asoundlib.h>

bool TAlsaFailure::Keep(const char* call, long result)
{
    if (result >= 0)
        return true;
    if (m_call == nullptr) {
        m_call = call;
        m_error = result;
    }
    return false;
}

QString TAlsaFailure::Take()
{
    if (m_call == nullptr)
        return {};
    const QString text = Text(m_call, m_error);
    m_call = nullptr;
    m_error = 0;
    return text;
}

QString TAlsaFailure::Text(const char* call, long error)
{
    return QString::asprintf("%s failed, Error=(0x%lx) Message: ", call, static_cast<unsigned long>(-error)) +
           QString::fromLocal8Bit(snd_strerror(int(error)));
}
