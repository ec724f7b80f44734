// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/AppStyle.h"

#include "widgets/DeferredIconEngine.h"

#include <QPointer>
#include <QStyleOption>
#include <QWidget>

QIcon TAppStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // The option and the widget give the arrow's direction; the widget may be gone by the time
    // the arrow is drawn.
    const QPointer<const TAppStyle> style(this);
    const QPointer<const QWidget> owner(widget);
    const bool hasOption = option != nullptr;
    const QStyleOption given = hasOption ? *option : QStyleOption();
    return QIcon(new TDeferredIconEngine([style, owner, hasOption, given, icon] {
        return style ? style->QProxyStyle::standardIcon(icon, hasOption ? &given : nullptr, owner.data())
                     : QIcon();
    }));
}
