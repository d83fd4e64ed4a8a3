// The instrument behind a real serial-device server on a loopback port, raw
// and with Telnet port control: the jobs give what they give over the
// simulator's own pty, the baud menu reaches the far port, and a server
// that is not there, goes away or comes back is said plainly.
#include "link/serial_link.h"
#include "support/job_process.h"
#include "support/line_speed.h"
#include "support/recording_notifier.h"
#include "support/ser2net_server.h"
#include "support/shown_messages.h"
#include "support/sim_process.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

using namespace orvanta;
using test::runProgram;
using test::Ser2net;
using test::SimProcess;

namespace {

using Mode = Ser2net::Mode;

// A simulator served by a server, the server running.
struct Served
{
    Served(Mode mode, const QStringList &simOptions = {})
        : sim(simOptions)
        , server(sim.devicePath(), mode)
    { }
    SimProcess sim;
    Ser2net server;
};

// The picture as the job wrote it, without the annotation's time and date,
// which differ from one download to the next.
QImage withoutTheTime(const QString &path)
{
    QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    for (int row = 400; row < 504 && !image.isNull(); ++row)
        for (int column = 0; column < 280; ++column)
            image.setPixel(column, row, 0);
    return image;
}

} // namespace

class TestNetwork : public QObject
{
    Q_OBJECT

private slots:
    // Shown as skipped, not passed, where there is no server.
    void init()
    {
        if (const QString reason = Ser2net::skipReason(); !reason.isEmpty())
            QSKIP(qPrintable(reason));
    }

    void jobsAsDirect_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("job");
        QTest::addColumn<QStringList>("simOptions");
        for (const Mode mode : {Mode::Raw, Mode::ComPortControl}) {
            const QByteArray kind = mode == Mode::Raw ? "raw: " : "port control: ";
            const auto row = [&](const char *name, const QStringList &job, const QStringList &options = {}) {
                QTest::newRow(kind + name) << int(mode) << job << options;
            };
            row("status", {"status"});
            // Every byte 0xFF, which Telnet must escape on the way.
            row("status, a block of 0xFF", {"status", "--json"}, {"--status", QString(32, 'f')});
            row("read-log", {"read-log"});
            // Runs of 127 black bytes are sent as 0xFF.
            row("capture", {"capture", "-o", "picture.bmp"}, {"--pace", "38400"});
        }
    }

    void jobsAsDirect()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, job);
        QFETCH(QStringList, simOptions);
        SimProcess direct(simOptions);
        QTemporaryDir directFolder, servedFolder;
        const test::JobResult expected
            = runProgram(job + QStringList{"--device", direct.devicePath()}, directFolder.path());
        QCOMPARE(expected.exitCode, 0);

        Served served(Mode(mode), simOptions);
        QVERIFY(served.server.start());
        const test::JobResult run = runProgram(job + QStringList{"--device", served.server.url()}, servedFolder.path());
        QVERIFY2(run.exitCode == 0, run.err + served.server.output().toUtf8());
        QCOMPARE(run.err, expected.err);
        QCOMPARE(run.out, expected.out);
        QCOMPARE(test::receivedBefore(served.sim), test::receivedBefore(direct));
        if (job.contains("-o"))
            QCOMPARE(withoutTheTime(servedFolder.filePath("picture.bmp")),
                withoutTheTime(directFolder.filePath("picture.bmp")));
    }

    // The far port follows the baud menu: at the link's opening, and at once on a change.
    void baudReachesTheFarPort()
    {
        Served served(Mode::ComPortControl);
        QVERIFY(served.server.start());
        test::RecordingNotifier notifier;
        link::PortMap map;
        map.setDevice(1, served.server.url());
        link::SerialLink link(map, notifier);
        QVERIFY(link.SetPortSettings("19200,N,8,1"));
        QVERIFY(link.OpenPort());
        QTRY_COMPARE(test::lineSpeed(served.sim.devicePath()), 19200);
        for (const int baud : {9600, 38400}) {
            QVERIFY(link.SetPortSettings(QString("%1,N,8,1").arg(baud)));
            QTRY_COMPARE(test::lineSpeed(served.sim.devicePath()), baud);
            QTRY_COMPARE(link.farBaud(), std::optional<int>(baud));
        }
        QVERIFY(link.ReadStatus());
        QVERIFY(notifier.messages.isEmpty());
    }

    void serverFaults_data()
    {
        QTest::addColumn<QStringList>("job");
        QTest::addColumn<int>("killAfterMs"); // -1: the server is not running at all
        QTest::addColumn<QStringList>("said");
        const QString refused = "%url (port 1, 38400 baud): Connection refused";
        const QString closed = "%url (port 1, 38400 baud): the server closed the connection";
        QTest::newRow("not running: refused")
            << QStringList{"status"} << -1 << QStringList{test::shown::kStatusLinkFailure.first, refused};
        QTest::newRow("killed during a capture")
            << QStringList{"capture", "-o", "x.png"} << 400 << QStringList{test::shown::kDownloadFailed.first, closed};
        QTest::newRow("killed during monitoring")
            << QStringList{"monitor"} << 1000 << QStringList{test::shown::kMonitoringFailed.first, closed};
    }

    // Each a link failure with the window's message and the server named;
    // once the server is back, the next job gets through.
    void serverFaults()
    {
        QFETCH(QStringList, job);
        QFETCH(int, killAfterMs);
        QFETCH(QStringList, said);
        for (const Mode mode : {Mode::Raw, Mode::ComPortControl}) {
            Served served(mode, {"--pace", "38400", "--error-interval", "200"});
            QTemporaryDir folder;
            QProcess process;
            process.setProcessEnvironment(test::jobEnvironment());
            process.setWorkingDirectory(folder.path());
            if (killAfterMs >= 0)
                QVERIFY(served.server.start());
            process.start(ORVANTA_PROGRAM_PATH, job + QStringList{"--device", served.server.url()});
            if (killAfterMs >= 0) {
                QTest::qWait(killAfterMs);
                served.server.kill();
            }
            QVERIFY(process.waitForFinished(30000));
            QCOMPARE(process.exitCode(), 1);
            const QString err = QString::fromUtf8(process.readAllStandardError());
            for (const QString &text : said)
                QVERIFY2(err.contains(QString(text).replace("%url", served.server.url())), qPrintable(err));
            QVERIFY(!QFile::exists(folder.filePath("x.png")));

            QVERIFY(served.server.start());
            const test::JobResult again = runProgram({"status", "--device", served.server.url()});
            QVERIFY2(again.exitCode == 0, again.err.constData());
        }
    }

    // A host that takes no more connections: said after 3 seconds, not waited on for ever.
    void hostThatDoesNotAnswer()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{.sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
        socklen_t size = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), size) == 0 && ::listen(listener, 0) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size) == 0);
        // Its queue full, its kernel drops every further opening.
        std::vector<int> waiting(3);
        for (int &client : waiting) {
            client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(client, reinterpret_cast<sockaddr *>(&address), size);
        }
        const QString url = QString("tcp://127.0.0.1:%1").arg(ntohs(address.sin_port));
        const test::JobResult run = runProgram({"status", "--device", url});
        waiting.push_back(listener);
        for (const int fd : waiting)
            ::close(fd);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(url.toUtf8() + " (port 1, 38400 baud): no answer within 3 seconds"), run.err);
    }
};

QTEST_MAIN(TestNetwork)
#include "test_network.moc"
