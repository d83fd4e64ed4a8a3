#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtGlobal>

#include <span>
#include <string_view>

namespace orvanta::ui {

// A control that one of the program's tables names. Every table is wired
// when its window is made, so a name the window lacks stops the program
// there with the name, in every build, instead of leaving a dead control
// for the user to find.
template <typename T> T *requiredChild(const QObject &parent, const QString &name)
{
    T *child = parent.findChild<T *>(name);
    if (!child)
        qFatal("%s has no %s named \"%s\"", qPrintable(parent.objectName()), T::staticMetaObject.className(),
            qPrintable(name));
    return child;
}

// Tab moves through the window's controls in the order of the names.
inline void chainTabOrder(QWidget &window, std::span<const std::string_view> names)
{
    QWidget *previous = nullptr;
    for (std::string_view name : names) {
        QWidget *next = requiredChild<QWidget>(window, QString::fromLatin1(name));
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

} // namespace orvanta::ui
