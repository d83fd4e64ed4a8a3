#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

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

} // namespace orvanta::ui
