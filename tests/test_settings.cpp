// "orva.set": the tagged values, byte for byte.
#include "panel/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanta::panel;

Q_DECLARE_METATYPE(SavedValue)

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void codec_data();
    void codec();
};

void TestSettings::codec_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<SavedValue>("baud");
    QTest::addColumn<SavedValue>("port");
    QTest::addColumn<bool>("written"); // the file is what writing these values makes
    const SavedValue none;
    const auto row = [](const char *name, const char *hex, SavedValue baud, SavedValue port, bool written) {
        QTest::newRow(name) << QByteArray::fromHex(hex) << baud << port << written;
    };
    row("nothing chosen", "00000000", none, none, true);
    row("19.2K on port 2", "0200020002000200", 2, 2, true);
    row("no baud, then port 3 at offset 2", "000002000300", none, 3, true);
    row("values outside the menus kept", "0200070002000500", 7, 5, true);
    row("negative", "0200ffff02000000", -1, 0, true);
    row("empty file", "", none, none, false);
    row("longer than 8 bytes", "02000100020003000200ffff", 1, 3, false);
    row("port beyond the end", "02000300", 3, none, false);
    row("value cut short", "020001", none, none, false);
    row("tag cut short", "0200040002", 4, none, false);
    row("unknown first tag", "0300010000000200", none, none, false);
    row("unknown second tag", "0200010008000300", 1, none, false);
}

void TestSettings::codec()
{
    QFETCH(QByteArray, file);
    QFETCH(SavedValue, baud);
    QFETCH(SavedValue, port);
    QFETCH(bool, written);
    QCOMPARE(decodeSettings(file), (SavedSettings{baud, port}));
    if (!written)
        return;
    QCOMPARE(encodeSettings({baud, port}), file);

    // Written over a longer file, whose content beyond stays; read back as written.
    QTemporaryDir dir;
    const SettingsFile settings(dir.filePath("orva.set"));
    const QByteArray longer(12, '\xaa');
    QFile raw(settings.path());
    QVERIFY(raw.open(QIODevice::WriteOnly) && raw.write(longer) == longer.size());
    raw.close();
    QVERIFY(settings.write({baud, port}));
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QCOMPARE(raw.readAll(), file + longer.mid(file.size()));
    QCOMPARE(settings.read(), std::optional(SavedSettings{baud, port}));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
