// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// The desktop's style, but for the arrows of the tool bar's and menu bar's extension buttons,
// which are read when first shown. The bars make their buttons at once, and reading the arrows
// then loaded every image plugin on the machine at each start, for buttons that show only on
// a window too narrow for its bars.
class TAppStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Takes the style over, as the application's style is taken over when this one is set.
    explicit TAppStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
