// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How the test and calibration windows show a tone: whole hertz ("1000Hz"), and decibels
// rounded to two significant digits with one decimal ("42.0dB"), in the user's locale.
QString FrequencyDisplay(float hertz);
QString LevelDisplay(float decibels);
