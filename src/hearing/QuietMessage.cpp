// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/QuietMessage.h"

#include "lang/Lang.h"
#include "sound/SoundEngine.h"

QMessageBox::StandardButton QuietMessage(TSoundEngine& engine, QWidget* owner, const QString& textKey,
                                         const QString& captionKey, QMessageBox::StandardButtons buttons,
                                         QMessageBox::Icon icon, bool guardAnswerKeys,
                                         const TButtonTexts& buttonTexts)
{
    const QString caption = captionKey.isEmpty() ? QString() : gLang.GetString2(captionKey, owner);
    const QString text = gLang.GetString(textKey, owner);
    return engine.QuietMessageBox(owner, text, caption, buttons, icon, guardAnswerKeys, buttonTexts);
}
