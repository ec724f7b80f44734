// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The shortest text that reads back as the same float, with the user's decimal separator;
// whole numbers below 1e15 in full.
QString FloatText(float value);
