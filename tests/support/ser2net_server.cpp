#include "support/ser2net_server.h"
#include "support/file_bytes.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace orvanta::test {

QString Ser2net::skipReason()
{
    qputenv("PATH", qgetenv("PATH") + ":/usr/sbin:/sbin");
    return QStandardPaths::findExecutable(QStringLiteral("ser2net")).isEmpty()
        ? QStringLiteral("ser2net is not installed (scripts/setup.sh installs it)")
        : QString();
}

Ser2net::Ser2net(const QString &device, Mode mode, bool serverDefaults)
    : mode_(mode)
{
    // A port free now; the server takes it a moment later.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    port_ = probe.serverPort();
    probe.close();
    // As advised: each segment sent at once, not held for a pause in the line.
    const QString tcp = serverDefaults ? QStringLiteral("tcp") : QStringLiteral("tcp(nodelay)");
    const QString accepter = mode == Mode::Raw ? tcp : QStringLiteral("telnet(rfc2217),") + tcp;
    writeFile(dir_.filePath(QStringLiteral("ser2net.yaml")),
        QStringLiteral("connection: &instrument\n  accepter: %1,127.0.0.1,%2\n"
                       "  connector: serialdev,%3,38400n81,local\n  options:\n    kickolduser: true\n%4")
            .arg(accepter)
            .arg(port_)
            .arg(device, serverDefaults ? QString() : QStringLiteral("    chardelay: false\n"))
            .toUtf8());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // The server must not outlive a test that crashes.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

Ser2net::~Ser2net()
{
    kill();
}

QString Ser2net::url() const
{
    return (mode_ == Mode::Raw ? QStringLiteral("tcp://127.0.0.1:%1") : QStringLiteral("rfc2217://127.0.0.1:%1"))
        .arg(port_);
}

bool Ser2net::start()
{
    process_.start(QStringLiteral("ser2net"), {"-n", "-d", "-c", dir_.filePath(QStringLiteral("ser2net.yaml"))});
    if (!process_.waitForStarted())
        return false;
    // Up once it listens: the port is taken. A connection would open the device for nothing.
    return QTest::qWaitFor(
               [&] {
                   QTcpServer probe;
                   return !probe.listen(QHostAddress::LocalHost, port_) || process_.state() == QProcess::NotRunning;
               },
               10000)
        && process_.state() == QProcess::Running;
}

void Ser2net::kill()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished();
}

QString Ser2net::output()
{
    return QString::fromLocal8Bit(process_.readAll());
}

} // namespace orvanta::test
