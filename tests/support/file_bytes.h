#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace orvanta::test {

// What a file holds, or "<missing>" when it can't be read, so that a
// comparison says which.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A file the program is to find, written whole or the test fails.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace orvanta::test
