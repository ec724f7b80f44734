// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QObject;

// A window seen as the framework the translation rules were made for: a tree of components,
// each with a name, a caption and a hint, owned in design order.
//
// Controls are widgets, menu items are actions and menus; both count only when named, or
// when marked by the composite that creates them (the buttons of a radio group). Unnamed
// widgets and Qt's own "qt_" helpers, layouts and menu bars only hold components: their
// components belong to the nearest component above them. Any other object is "other" and
// is skipped with everything it holds.
class TComponentTree
{
public:
    enum class Kind
    {
        Control,
        MenuItem,
        Other
    };

    static Kind KindOf(const QObject* component);
    static QList<QObject*> OwnedComponents(const QObject* owner);

    static QString Caption(const QObject* component);
    static void SetCaption(QObject* component, const QString& caption);
    static QString Hint(const QObject* component);
    static void SetHint(QObject* component, const QString& hint);

    // Marks a component that its creator leaves unnamed on purpose.
    static void MarkUnnamedComponent(QObject* component);
};
