// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colour of the series with this index: 27 distinct colours, then pure red.
QColor Palette(int index);
