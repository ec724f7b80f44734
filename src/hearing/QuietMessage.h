// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"

#include <QMessageBox>
#include <QString>

class QWidget;
class TSoundEngine;

// A message box of a window that owns a sound engine: texts looked up in the window's section
// (the caption first; an empty caption key gives an empty caption), shown with the master
// volume lowered so that the box cannot startle a person wearing headphones. A box shown during
// a test guards its answer keys.
QMessageBox::StandardButton QuietMessage(TSoundEngine& engine, QWidget* owner, const QString& textKey,
                                         const QString& captionKey, QMessageBox::StandardButtons buttons,
                                         QMessageBox::Icon icon, bool guardAnswerKeys = false,
                                         const TButtonTexts& buttonTexts = {});
