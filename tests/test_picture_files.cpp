// Pictures as files: the BMP written and read back, the conversion to black on white,
// the files window's store, display and three lists, and the failures that must leave
// the canvas as it was.
#include "link/messages.h"
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "link/status_block.h"
#include "picture/annotation.h"
#include "picture/directory_list.h"
#include "picture/drive_roots.h"
#include "picture/file_list.h"
#include "picture/files_window.h"
#include "picture/graticule_file.h"
#include "picture/picture_file.h"
#include "picture/picture_window.h"
#include "print/pdf_printer_target.h"
#include "support/recording_notifier.h"
#include "support/working_folder.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace orvanta;
using picture::Canvas;
using Message = test::RecordingNotifier::Message;
namespace palette = picture::palette;

namespace {

constexpr int kBmpBitsOffset = 28;
// Header, 16-colour table and 512 rows of 256 bytes.
constexpr qint64 kFourBitSize = 14 + 40 + 16 * 4 + 512 * 256;

Message message(const link::Message &m)
{
    return {m.text.toString(), m.title.toString()};
}

// A picture as a download leaves it: graticule rows, trace in the greys and the
// parade's colours, and the annotation line.
QImage downloadedPicture()
{
    Canvas canvas;
    picture::GraticuleFile graticule;
    graticule.open(QStringLiteral(ORVANTA_DATA_DIR "/graticules/pal_wfmd.rle"));
    for (int row = 3; row <= 510; ++row)
        graticule.DrawGratLine(canvas, row);
    constexpr std::array colours{palette::kGrey, palette::kLightGrey, palette::kWhite, palette::kRed,
        palette::kLightRed, palette::kGreen, palette::kLightGreen, palette::kBlue, palette::kLightBlue};
    for (int i = 0; i < 5000; ++i)
        canvas.setPixel(i * 37 % 508, 3 + i * 101 % 507, colours[i % colours.size()]);
    picture::AddStatusText(
        canvas, link::StatusBlock(QByteArray::fromHex("03210000800c20050000000000001e30")), QFont("DejaVu Sans", 8));
    return canvas.image();
}

int bmpBits(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = file.read(kBmpBitsOffset + 2);
    return head.size() < kBmpBitsOffset + 2 ? -1 : quint8(head[kBmpBitsOffset]) | quint8(head[kBmpBitsOffset + 1]) << 8;
}

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The picture window's canvas, for the files window without a picture window.
struct Surface : picture::PictureSurface
{
    Canvas &canvas() override { return canvas_; }
    void canvasReplaced() override { ++replaced; }
    Canvas canvas_;
    int replaced = 0;
};

struct NoPoll : link::PollSwitch
{
    void pollEvent(link::PollEvent) override { }
};

// The picture window, with no instrument behind it, and the files window on its canvas,
// both in a working folder of their own.
struct Windows
{
    Windows()
        : serial(map, notifier)
        , printer(QStringLiteral("frame.pdf"))
        , picture(serial, notifier, poll, printer)
        , files(notifier, [this] { return &picture; })
    {
        picture.canvas().replace(downloadedPicture());
        notifier.clear();
    }

    static QPushButton *button(const QWidget &window, const char *name)
    {
        return window.findChild<QPushButton *>(QString::fromLatin1(name));
    }

    test::WorkingFolder folder;
    test::RecordingNotifier notifier;
    link::PortMap map;
    link::SerialLink serial;
    NoPoll poll;
    print::PdfPrinterTarget printer;
    picture::PictureWindow picture;
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
        QTest::newRow("downloaded picture: the palette") << false << 4;
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
        QVERIFY(bits != 4 || QFileInfo(path).size() == kFourBitSize);
        // Another reader, finding the format for itself, sees the same picture.
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(rgb(reader.read()), picture);
        const auto loaded = picture::loadPicture(path);
        QVERIFY(loaded && rgb(*loaded) == picture);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"shot.bmp"});
    }

    void convertTwice()
    {
        Windows windows;
        const QImage original = windows.picture.canvas().image();
        const auto converted = [&](bool blackOnWhite) {
            for (int row = 0; row < Canvas::kSize; ++row)
                for (int column = 0; column < Canvas::kSize; ++column) {
                    const bool wasBlack = original.pixel(column, row) == palette::rgb(palette::kBlack);
                    const auto want = wasBlack == blackOnWhite ? palette::kWhite : palette::kBlack;
                    if (windows.picture.canvas().pixelIndex(column, row) != want)
                        return false;
                }
            return true;
        };
        // Ink on paper, and kept in the working folder as what the canvas shows.
        windows.button(windows.picture, "cmdConvert")->click();
        QVERIFY(converted(true));
        QCOMPARE(bmpBits(picture::PictureWindow::kConversionFile), 4);
        QCOMPARE(rgb(*picture::loadPicture(picture::PictureWindow::kConversionFile)), windows.picture.canvas().image());
        // Again: white on black, and the colours do not come back.
        windows.button(windows.picture, "cmdConvert")->click();
        QVERIFY(converted(false));
        QCOMPARE(windows.notifier.messages, {});
    }

    void storeThenDisplay()
    {
        Windows windows;
        const QImage stored = windows.picture.canvas().image();
        windows.files.show();
        // Into the working folder, whatever folder the lists show.
        QTemporaryDir elsewhere;
        QVERIFY(windows.files.dir1()->setPath(elsewhere.path()));
        QCOMPARE(windows.files.text1()->text(), "mypic.bmp");
        windows.button(windows.files, "cmdStoreFile")->click();
        QCOMPARE(windows.notifier.beeps, 1);
        QVERIFY(!windows.files.isVisible() && QFile::exists("mypic.bmp"));
        QVERIFY(QDir(elsewhere.path()).isEmpty());

        windows.button(windows.picture, "cmdClear")->click();
        QCOMPARE(windows.picture.canvas().pixelIndex(100, 480), palette::kBlack);
        windows.files.show();
        QVERIFY(windows.files.dir1()->setPath(QDir::currentPath()));
        windows.files.file1()->setCurrentItem(windows.files.file1()->findItems("mypic.bmp", Qt::MatchExactly).value(0));
        windows.button(windows.files, "cmdDispFile")->click();
        QCOMPARE(windows.notifier.beeps, 2);
        QVERIFY(!windows.files.isVisible());
        QCOMPARE(windows.picture.canvas().image(), stored);
        QCOMPARE(windows.notifier.messages, {});
    }

    void cannotWrite_data()
    {
        QTest::addColumn<QString>("name"); // typed into Text1; empty with conversion
        QTest::addColumn<bool>("conversion");
        QTest::addColumn<QString>("folder"); // made first
        QTest::addColumn<bool>("readOnly");  // the working folder

        QTest::newRow("conversion, a folder named tempbw.bmp") << "" << true << "tempbw.bmp" << false;
        QTest::newRow("conversion, a read-only folder") << "" << true << "" << true;
        QTest::newRow("store, no name") << "" << false << "" << false;
        QTest::newRow("store, a folder's name") << "pictures" << false << "pictures" << false;
        QTest::newRow("store, in no folder") << "no/such/folder/x.bmp" << false << "" << false;
        QTest::newRow("store, a read-only folder") << "mypic.bmp" << false << "" << true;
    }

    void cannotWrite()
    {
        QFETCH(QString, name);
        QFETCH(bool, conversion);
        QFETCH(QString, folder);
        QFETCH(bool, readOnly);
        if (readOnly && geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        Windows windows;
        if (!folder.isEmpty())
            QVERIFY(QDir().mkdir(folder));
        const QStringList before = QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QFile::Permissions permissions = QFile::permissions(".");
        if (readOnly)
            QFile::setPermissions(".", QFile::ReadOwner | QFile::ExeOwner);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(".", permissions); });
        const QImage canvas = windows.picture.canvas().image();

        windows.files.show();
        windows.files.text1()->setText(name);
        const QWidget &window = conversion ? static_cast<QWidget &>(windows.picture) : windows.files;
        Windows::button(window, conversion ? "cmdConvert" : "cmdStoreFile")->click();

        // Said with the file and the reason; nothing else changed, nothing left behind.
        const QString file = conversion ? picture::PictureWindow::kConversionFile : name;
        QCOMPARE(windows.notifier.messages.size(), 1);
        const auto [text, title] = windows.notifier.messages.first();
        QCOMPARE(title, message(link::messages::kPictureNotWritten).second);
        QVERIFY2(text.startsWith("Can't write " + file + ": ") && text.size() > file.size() + 14, qPrintable(text));
        QCOMPARE(windows.notifier.beeps, 0);
        QCOMPARE(windows.picture.canvas().image(), canvas);
        QVERIFY(windows.files.isVisible());
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }

    void display_data()
    {
        QTest::addColumn<QString>("name");     // selected in File1; empty: none
        QTest::addColumn<QByteArray>("bytes"); // its content
        QTest::addColumn<QImage>("picture");   // what it shows; null: not a picture

        const auto bmp = [](const QImage &image) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
            return bytes;
        };
        QImage small(100, 60, QImage::Format_RGB32);
        small.fill(qRgb(200, 10, 10));
        small.setPixel(99, 59, qRgb(1, 2, 3));
        QImage large(600, 700, QImage::Format_RGB32);
        for (int row = 0; row < large.height(); ++row)
            for (int column = 0; column < large.width(); ++column)
                large.setPixel(column, row, palette::rgb(picture::PaletteIndex((column / 50 + row / 50) % 16)));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "PNG");

        QTest::newRow("nothing selected") << "" << QByteArray() << QImage();
        QTest::newRow("a PNG named .bmp") << "shot.bmp" << png << QImage();
        QTest::newRow("text named .BMP") << "NOTES.BMP" << QByteArray("not a picture\n") << QImage();
        QTest::newRow("an empty file") << "empty.bmp" << QByteArray() << QImage();
        QTest::newRow("smaller: top left, black around") << "small.bmp" << bmp(small) << small;
        QTest::newRow("larger: clipped") << "LARGE.BMP" << bmp(large) << large;
    }

    void display()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, picture);
        test::WorkingFolder folder;
        test::RecordingNotifier notifier;
        Surface surface;
        surface.canvas_.fillRows(0, Canvas::kSize - 1, palette::kGreen);
        const QImage before = surface.canvas_.image();
        picture::FilesWindow files(notifier, [&] { return &surface; });
        if (!name.isEmpty()) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        files.show();
        files.file1()->setCurrentItem(files.file1()->findItems(name, Qt::MatchExactly).value(0));
        QCOMPARE(files.file1()->selectedName(), name);
        files.findChild<QPushButton *>("cmdDispFile")->click();

        QCOMPARE(files.isVisible(), picture.isNull());
        if (picture.isNull()) {
            QCOMPARE(notifier.messages, QList{message(link::messages::kNoBmpSelected)});
            QCOMPARE(surface.canvas_.image(), before);
            return;
        }
        QCOMPARE(notifier.beeps, 1);
        QCOMPARE(surface.replaced, 1);
        for (int row = 0; row < Canvas::kSize; ++row)
            for (int column = 0; column < Canvas::kSize; ++column) {
                const bool inside = column < picture.width() && row < picture.height();
                const QRgb want = inside ? picture.pixel(column, row) : palette::rgb(palette::kBlack);
                QCOMPARE(surface.canvas_.image().pixel(column, row), want);
            }
    }

    void listsFollowEachOther()
    {
        test::WorkingFolder folder;
        for (const char *name : {"a.bmp", "B.BMP", "c.png", "sub/d.Bmp"}) {
            QDir().mkpath("sub/deeper");
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QTemporaryDir other;
        QFile(other.filePath("e.bmp")).open(QIODevice::WriteOnly);
        test::RecordingNotifier notifier;
        Surface surface;
        picture::FilesWindow files(notifier, [&] { return &surface; });
        files.show();
        picture::DirectoryList &dirs = *files.dir1();
        QComboBox &drives = *files.drive1();
        const auto shown = [&] {
            QStringList names;
            for (int i = 0; i < files.file1()->count(); ++i)
                names << files.file1()->item(i)->text();
            return names;
        };
        const auto activate = [&](const QString &entry) {
            const QList<QListWidgetItem *> items = dirs.findItems(entry, Qt::MatchEndsWith);
            QVERIFY(!items.isEmpty());
            dirs.setCurrentItem(items.last());
            QTest::keyClick(&dirs, Qt::Key_Return);
        };

        // All three start at the working folder; *.bmp in any case.
        const QString here = QDir::currentPath();
        QCOMPARE(drives.currentData().toString(), picture::driveOf(here));
        QCOMPARE(dirs.path(), here);
        QCOMPARE(shown(), QStringList({"a.bmp", "B.BMP"}));
        // The directory list moves the file list.
        activate("sub");
        QCOMPARE(dirs.path(), here + "/sub");
        QVERIFY(!dirs.findItems("deeper", Qt::MatchEndsWith).isEmpty());
        QCOMPARE(shown(), QStringList{"d.Bmp"});
        activate(QDir(here).dirName());
        QCOMPARE(shown(), QStringList({"a.bmp", "B.BMP"}));
        // The drive list moves both.
        drives.addItem("E:", other.path());
        drives.setCurrentIndex(drives.count() - 1);
        QCOMPARE(dirs.path(), other.path());
        QCOMPARE(shown(), QStringList{"e.bmp"});
        // One that cannot be read changes nothing, the drive list included.
        drives.addItem("F:", other.filePath("not-there"));
        drives.setCurrentIndex(drives.count() - 1);
        QCOMPARE(notifier.messages, QList{message(link::messages::kDriveNotReady)});
        QCOMPARE(drives.currentText(), "E:");
        QCOMPARE(dirs.path(), other.path());
        QCOMPARE(shown(), QStringList{"e.bmp"});
        // A picture stored meanwhile shows when the window is shown again.
        files.hide();
        QFile(other.filePath("f.BMP")).open(QIODevice::WriteOnly);
        files.show();
        QCOMPARE(shown(), QStringList({"e.bmp", "f.BMP"}));
    }
};

QTEST_MAIN(TestPictureFiles)
#include "test_picture_files.moc"
