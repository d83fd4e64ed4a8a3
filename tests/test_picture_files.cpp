// Pictures as files: the BMP written, the conversion to black on white, the files
// window's display and its three lists, and the failures that must leave the canvas be.
#include "picture/annotation.h"
#include "picture/drive_roots.h"
#include "picture/graticule_file.h"
#include "picture/picture_file.h"
#include "picture/ui/directory_list.h"
#include "picture/ui/file_list.h"
#include "picture/ui/files_window.h"
#include "support/picture_rig.h"
#include "support/working_folder.h"

#include <QBuffer>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>

#include <sys/stat.h>

using namespace orvanta;
using picture::Canvas;
using Message = test::RecordingNotifier::Message;
namespace palette = picture::palette;

namespace {

// As a download leaves it: graticule rows, trace in the greys and the parade's colours, annotation.
QImage downloadedPicture()
{
    Canvas canvas;
    picture::GraticuleFile graticule;
    graticule.open(QStringLiteral(ORVANTA_DATA_DIR "/graticules/pal_wfmd.rle"));
    for (int row = 3; row <= 510; ++row)
        graticule.DrawGratLine(canvas, row);
    constexpr std::array colours{palette::kGrey, palette::kWhite, palette::kRed, palette::kLightGreen, palette::kBlue};
    for (int i = 0; i < 5000; ++i)
        canvas.setPixel(i * 37 % 508, 3 + i * 101 % 507, colours[i % colours.size()]);
    picture::AddStatusText(canvas, link::StatusBlock(QByteArray::fromHex(test::kPalWaveform)), QFont("DejaVu Sans", 8));
    return canvas.image();
}

int bmpBits(const QString &path)
{
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(30) : QByteArray();
    return head.size() < 30 ? -1 : quint8(head[28]) | quint8(head[29]) << 8;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The picture window with a downloaded picture, and the files window on its canvas,
// in a working folder of their own.
struct Windows
{
    Windows()
        : files(offline.notifier, [this] { return &picture; })
    {
        offline.window->hide();
        picture.canvas().replace(downloadedPicture());
        files.show();
    }
    void click(const QWidget &window, const char *name) { window.findChild<QPushButton *>(name)->click(); }

    test::WorkingFolder folder;
    test::PictureRig offline{QString()};
    picture::PictureWindow &picture = *offline.window;
    test::RecordingNotifier &notifier = offline.notifier;
    picture::FilesWindow files;
};

} // namespace

class TestPictureFiles : public QObject
{
    Q_OBJECT

private slots:
    void storedPicture_data()
    {
        QTest::addColumn<bool>("trueColour");
        QTest::addColumn<int>("bits");
        QTest::newRow("downloaded: the palette, 131 KB") << false << 4;
        QTest::newRow("a colour off the palette") << true << 24;
    }

    void storedPicture()
    {
        QFETCH(bool, trueColour);
        QFETCH(int, bits);
        QImage picture = downloadedPicture();
        if (trueColour)
            picture.setPixel(7, 9, qRgb(1, 2, 3));
        QTemporaryDir dir;
        const QString path = dir.filePath("shot.bmp");
        QVERIFY(!picture::savePicture(picture, path));
        QCOMPARE(bmpBits(path), bits);
        QVERIFY(bits != 4 || QFileInfo(path).size() == 14 + 40 + 16 * 4 + 512 * 256);
        // Another reader, finding the format for itself, sees the same picture.
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"shot.bmp"});
    }

    void convertTwice()
    {
        Windows windows;
        const QImage original = windows.picture.canvas().image();
        // Black exactly where the original was black, or exactly where it was not.
        const auto inkWhere = [&](bool wasBlack) {
            for (int row = 0; row < Canvas::kSize; ++row)
                for (int column = 0; column < Canvas::kSize; ++column) {
                    const bool black = original.pixel(column, row) == palette::rgb(palette::kBlack);
                    const bool ink = windows.picture.canvas().pixelIndex(column, row) == palette::kBlack;
                    if (ink != (black == wasBlack))
                        return false;
                }
            return true;
        };
        // Ink on paper, kept in the working folder as the canvas shows it; again: white on black.
        windows.click(windows.picture, "cmdConvert");
        QVERIFY(inkWhere(false) && windows.picture.canvas().pixelIndex(0, 0) == palette::kWhite);
        QCOMPARE(bmpBits("tempbw.bmp"), 4);
        QCOMPARE(picture::loadPicture("tempbw.bmp")->convertToFormat(QImage::Format_RGB32),
            windows.picture.canvas().image());
        windows.click(windows.picture, "cmdConvert");
        QVERIFY(inkWhere(true) && windows.picture.canvas().pixelIndex(0, 0) == palette::kBlack);
        QCOMPARE(windows.notifier.messages, {});
    }

    void cannotWrite_data()
    {
        QTest::addColumn<QString>("name");   // typed into Text1; empty with the conversion
        QTest::addColumn<QString>("folder"); // made first: a folder, or with "|" a pipe
        QTest::newRow("conversion, a folder named tempbw.bmp") << QString() << "tempbw.bmp";
        QTest::newRow("store, no name") << QString() << QString();
        QTest::newRow("store, a folder's name") << "pictures" << QString("pictures");
        // Replaced by a regular file, a pipe or a device would be gone.
        QTest::newRow("store, a pipe's name") << "pipe.bmp" << QString("pipe.bmp|");
    }

    void cannotWrite()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        const bool conversion = folder == "tempbw.bmp";
        Windows windows;
        if (folder.endsWith('|'))
            QCOMPARE(::mkfifo(QFile::encodeName(folder.chopped(1)).constData(), 0600), 0);
        else
            QVERIFY(folder.isEmpty() || QDir().mkdir(folder));
        const QStringList before = QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        const QImage canvas = windows.picture.canvas().image();
        windows.files.text1()->setText(name);
        windows.click(conversion ? static_cast<QWidget &>(windows.picture) : windows.files,
            conversion ? "cmdConvert" : "cmdStoreFile");

        // Said with the file and its reason; nothing changed, nothing left behind.
        const QString file = conversion ? folder : name;
        QCOMPARE(windows.notifier.messages.size(), 1);
        const auto [text, title] = windows.notifier.messages.first();
        QCOMPARE(title, "Picture File Error");
        QVERIFY2(text.startsWith("Can't write " + file + ": ") && text.size() > file.size() + 14, qPrintable(text));
        QCOMPARE(windows.picture.canvas().image(), canvas);
        QVERIFY(windows.files.isVisible() && windows.notifier.beeps == 0);
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }

    void display_data()
    {
        QTest::addColumn<QString>("name");     // selected in File1; empty: none
        QTest::addColumn<QByteArray>("bytes"); // its content
        QTest::addColumn<QImage>("picture");   // what it shows; null: not a picture
        QTest::addColumn<QString>("said");     // what a file that shows nothing is said to be
        QImage small(100, 60, QImage::Format_RGB32);
        small.fill(qRgb(200, 10, 10));
        QImage large(600, 700, QImage::Format_RGB32);
        for (int row = 0; row < large.height(); ++row)
            for (int column = 0; column < large.width(); ++column)
                large.setPixel(column, row, qRgb(column % 256, row % 256, 7));
        QTest::newRow("nothing selected") << "" << QByteArray() << QImage() << "No .BMP file is selected";
        QTest::newRow("a PNG named .bmp")
            << "shot.bmp" << encoded(small, "PNG") << QImage() << "Can't read %1/shot.bmp: ";
        // Opened, a pipe would stop the program until something wrote to it.
        QTest::newRow("a pipe named .bmp")
            << "pipe.bmp" << QByteArray("|") << QImage() << "Can't read %1/pipe.bmp: not a plain file";
        QTest::newRow("smaller: top left, black around") << "small.bmp" << encoded(small, "BMP") << small << "";
        QTest::newRow("larger, named .BMP: clipped") << "LARGE.BMP" << encoded(large, "BMP") << large << "";
    }

    void display()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, picture);
        QFETCH(QString, said);
        Windows windows;
        Canvas &canvas = windows.picture.canvas();
        canvas.fillRows(0, Canvas::kSize - 1, palette::kGreen);
        const QImage before = canvas.image();
        QFile file(name);
        QVERIFY(name.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
        windows.files.hide();
        windows.files.show();
        picture::FileList &files = *windows.files.file1();
        files.setCurrentItem(files.findItems(name, Qt::MatchExactly).value(0));
        QCOMPARE(files.selectedName(), name);
        // A pipe since the list was read.
        if (bytes == "|")
            QVERIFY(QFile::remove(name) && ::mkfifo(QFile::encodeName(name).constData(), 0600) == 0);
        windows.click(windows.files, "cmdDispFile");

        QCOMPARE(windows.files.isVisible(), picture.isNull());
        QCOMPARE(windows.notifier.messages.size(), picture.isNull() ? 1 : 0);
        if (picture.isNull())
            QVERIFY2(windows.notifier.messages[0].first.startsWith(said.arg(QDir::currentPath()))
                    && windows.notifier.messages[0].second
                        == (name.isEmpty() ? "File Directory Error" : "Picture File Error"),
                qPrintable(windows.notifier.messages[0].first));
        QCOMPARE(windows.notifier.beeps, picture.isNull() ? 0 : 1);
        for (int row = 0; row < Canvas::kSize; ++row)
            for (int column = 0; column < Canvas::kSize; ++column) {
                const bool inside = column < picture.width() && row < picture.height();
                const QRgb want = picture.isNull() ? before.pixel(column, row)
                    : inside                       ? picture.pixel(column, row)
                                                   : palette::rgb(palette::kBlack);
                QCOMPARE(canvas.image().pixel(column, row), want);
            }
    }

    void listsFollowEachOther()
    {
        Windows windows;
        QDir().mkpath("sub/deeper");
        for (const char *name : {"a.bmp", "B.BMP", "c.png", "sub/d.Bmp"})
            QFile(name).open(QIODevice::WriteOnly);
        QTemporaryDir other;
        QFile(other.filePath("e.bmp")).open(QIODevice::WriteOnly);
        picture::FilesWindow files(windows.notifier, [&] { return &windows.picture; });
        picture::DirectoryList &dirs = *files.dir1();
        QComboBox &drives = *files.drive1();
        const auto shown = [&] {
            QStringList names;
            for (int i = 0; i < files.file1()->count(); ++i)
                names << files.file1()->item(i)->text();
            return names;
        };

        // All three start at the working folder; *.bmp in any case.
        const QString here = QDir::currentPath();
        QCOMPARE(drives.currentData().toString(), picture::driveOf(here));
        QCOMPARE(dirs.path(), here);
        QCOMPARE(shown(), QStringList({"a.bmp", "B.BMP"}));
        // Entering a folder moves the file list.
        dirs.setCurrentItem(dirs.findItems("sub", Qt::MatchEndsWith).value(0));
        QTest::keyClick(&dirs, Qt::Key_Return);
        QCOMPARE(dirs.path(), here + "/sub");
        QCOMPARE(shown(), QStringList{"d.Bmp"});
        // A drive moves both; one that cannot be read changes nothing, the drive list included.
        drives.addItem("E:", other.path());
        drives.addItem("F:", other.filePath("not-there"));
        drives.setCurrentIndex(drives.count() - 2);
        QCOMPARE(dirs.path(), other.path());
        QCOMPARE(shown(), QStringList{"e.bmp"});
        drives.setCurrentIndex(drives.count() - 1);
        QCOMPARE(windows.notifier.messages, QList{Message("Selected Drive not ready", "Drive Error")});
        QCOMPARE(drives.currentText(), "E:");
        QCOMPARE(dirs.path(), other.path());
        QCOMPARE(shown(), QStringList{"e.bmp"});
    }
};

QTEST_MAIN(TestPictureFiles)
#include "test_picture_files.moc"
