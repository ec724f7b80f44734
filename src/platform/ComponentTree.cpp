// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ComponentTree.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>
#include <QWidget>

namespace {

const char* const kUnnamedComponent = "kelvarionUnnamedComponent";

bool IsNamedOrMarked(const QObject* object)
{
    const QString name = object->objectName();
    if (name.startsWith(QLatin1String("qt_")))
        return false;
    return !name.isEmpty() || object->property(kUnnamedComponent).toBool();
}

// Objects that only hold components, without being one.
bool IsHolder(const QObject* object)
{
    if (qobject_cast<const QLayout*>(object) || qobject_cast<const QMenuBar*>(object))
        return true;
    const bool widgetOrAction = object->isWidgetType() || qobject_cast<const QAction*>(object);
    return widgetOrAction && !IsNamedOrMarked(object);
}

void CollectComponents(const QObject* holder, QList<QObject*>& components)
{
    for (QObject* child : holder->children()) {
        if (IsHolder(child))
            CollectComponents(child, components);
        else
            components.append(child);
    }
}

// The text property a control shows: a group's title, a button's or edit's text.
QMetaProperty CaptionProperty(const QObject* component)
{
    const QMetaObject* meta = component->metaObject();
    for (const char* name : {"title", "text", "plainText"}) {
        const int index = meta->indexOfProperty(name);
        if (index >= 0 && meta->property(index).isWritable())
            return meta->property(index);
    }
    return {};
}

// What QAction::toolTip() answers when no hint was set.
QString DefaultActionToolTip(const QString& text)
{
    QString stripped = text;
    stripped.remove(QStringLiteral("..."));
    for (int i = 0; i < stripped.size(); ++i) {
        if (stripped.at(i) == QLatin1Char('&'))
            stripped.remove(i, 1);
    }
    return stripped.trimmed();
}

} // namespace

TComponentTree::Kind TComponentTree::KindOf(const QObject* component)
{
    if (qobject_cast<const QAction*>(component) || qobject_cast<const QMenu*>(component))
        return Kind::MenuItem;
    if (component->isWidgetType())
        return Kind::Control;
    return Kind::Other;
}

QList<QObject*> TComponentTree::OwnedComponents(const QObject* owner)
{
    QList<QObject*> components;
    CollectComponents(owner, components);
    return components;
}

QString TComponentTree::Caption(const QObject* component)
{
    if (const auto* action = qobject_cast<const QAction*>(component))
        return action->text();
    if (const auto* menu = qobject_cast<const QMenu*>(component))
        return menu->title();
    if (const auto* widget = qobject_cast<const QWidget*>(component); widget && widget->isWindow())
        return widget->windowTitle();
    const QMetaProperty property = CaptionProperty(component);
    return property.isValid() ? property.read(component).toString() : QString();
}

void TComponentTree::SetCaption(QObject* component, const QString& caption)
{
    if (auto* action = qobject_cast<QAction*>(component)) {
        action->setText(caption);
    } else if (auto* menu = qobject_cast<QMenu*>(component)) {
        menu->setTitle(caption);
    } else if (auto* widget = qobject_cast<QWidget*>(component); widget && widget->isWindow()) {
        widget->setWindowTitle(caption);
    } else if (const QMetaProperty property = CaptionProperty(component); property.isValid()) {
        property.write(component, caption);
    }
}

QString TComponentTree::Hint(const QObject* component)
{
    if (const auto* action = qobject_cast<const QAction*>(component)) {
        const QString tip = action->toolTip();
        return tip == DefaultActionToolTip(action->text()) ? QString() : tip;
    }
    if (const auto* widget = qobject_cast<const QWidget*>(component))
        return widget->toolTip();
    return {};
}

void TComponentTree::SetHint(QObject* component, const QString& hint)
{
    if (auto* action = qobject_cast<QAction*>(component))
        action->setToolTip(hint);
    else if (auto* widget = qobject_cast<QWidget*>(component))
        widget->setToolTip(hint);
}

void TComponentTree::MarkUnnamedComponent(QObject* component)
{
    component->setProperty(kUnnamedComponent, true);
}
