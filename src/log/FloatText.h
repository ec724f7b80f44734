#pragma once

#include <QString>

// The shortest text that reads back as the same float, with the user's decimal separator.
QString FloatText(float value);
