// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/BundledIcon.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace {

void AddPng(QIcon& icon, const QString& file)
{
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (!image.isNull())
        icon.addPixmap(QPixmap::fromImage(image));
}

// A session without an icon theme of its own falls back to hicolor, which holds programs' own
// icons and no action icons; a look there would read its long index at every start for nothing.
bool DesktopHasIconTheme()
{
    const QString theme = QIcon::themeName();
    return !theme.isEmpty() && theme != QLatin1String("hicolor");
}

} // namespace

QIcon TBundledIcon::File(const QString& file)
{
    QIcon icon;
    AddPng(icon, file);
    return icon;
}

QIcon TBundledIcon::Sizes(const QString& pattern, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes)
        AddPng(icon, pattern.arg(size));
    return icon;
}

QIcon TBundledIcon::Named(const QString& name)
{
    if (DesktopHasIconTheme() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return File(QStringLiteral(":/icons/%1.png").arg(name));
}
