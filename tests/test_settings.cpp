// "orva.set": the tagged values, byte for byte.
#include "panel/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanta::panel;

Q_DECLARE_METATYPE(SavedValue)

namespace {

QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void writeLeavesLongerContentBeyond();
};

void TestSettings::decode_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<SavedValue>("baud");
    QTest::addColumn<SavedValue>("port");

    const SavedValue none;
    QTest::newRow("empty file") << QByteArray() << none << none;
    QTest::newRow("no baud, then port 3 at offset 2") << bytes("000002000300") << none << SavedValue(3);
    QTest::newRow("values outside the menus kept") << bytes("0200070002000500") << SavedValue(7) << SavedValue(5);
    QTest::newRow("negative") << bytes("0200ffff02000000") << SavedValue(-1) << SavedValue(0);
    QTest::newRow("longer than 8 bytes") << bytes("02000100020003000200ffff") << SavedValue(1) << SavedValue(3);
    QTest::newRow("port beyond the end") << bytes("02000300") << SavedValue(3) << none;
    QTest::newRow("value cut short") << bytes("020001") << none << none;
    QTest::newRow("tag cut short") << bytes("02000400") + bytes("02") << SavedValue(4) << none;
    QTest::newRow("unknown first tag") << bytes("0300010000000200") << none << none;
    QTest::newRow("unknown second tag") << bytes("0200010008000300") << SavedValue(1) << none;
}

void TestSettings::decode()
{
    QFETCH(QByteArray, file);
    QFETCH(SavedValue, baud);
    QFETCH(SavedValue, port);
    const SavedSettings settings = decodeSettings(file);
    QCOMPARE(settings.baud, baud);
    QCOMPARE(settings.port, port);
}

void TestSettings::encode_data()
{
    QTest::addColumn<SavedValue>("baud");
    QTest::addColumn<SavedValue>("port");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("nothing chosen") << SavedValue() << SavedValue() << bytes("00000000");
    QTest::newRow("19.2K on port 2") << SavedValue(2) << SavedValue(2) << bytes("0200020002000200");
    QTest::newRow("port only") << SavedValue() << SavedValue(3) << bytes("000002000300");
    QTest::newRow("baud 7 port 0") << SavedValue(7) << SavedValue(0) << bytes("0200070002000000");
}

void TestSettings::encode()
{
    QFETCH(SavedValue, baud);
    QFETCH(SavedValue, port);
    QFETCH(QByteArray, file);
    // And read back as written.
    QCOMPARE(encodeSettings({baud, port}), file);
    QCOMPARE(decodeSettings(file), (SavedSettings{baud, port}));
}

void TestSettings::writeLeavesLongerContentBeyond()
{
    QTemporaryDir dir;
    const SettingsFile file(dir.filePath("orva.set"));
    QFile raw(file.path());
    QVERIFY(raw.open(QIODevice::WriteOnly));
    raw.write(bytes("0200010002000300aabbcc"));
    raw.close();

    QVERIFY(file.write({}));
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QCOMPARE(raw.readAll(), bytes("0000000002000300aabbcc"));
    raw.close();
    QCOMPARE(*file.read(), SavedSettings{});
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
