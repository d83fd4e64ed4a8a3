#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace orvanta::test {

// A serial-device server on a loopback port of its own, serving one
// device: raw bytes, or Telnet with port control. Set up as the README
// advises (no waiting for a pause in the line before sending), or left at the
// server's defaults. Stopped and started again on the same port, as a server
// that is restarted.
class Ser2net
{
public:
    enum class Mode { Raw, ComPortControl };

    // Why no server can run here, for QSKIP; empty otherwise.
    static QString skipReason();

    Ser2net(const QString &device, Mode mode, bool serverDefaults = false);
    ~Ser2net();

    // The device name the program takes for it: tcp://127.0.0.1:PORT or rfc2217://...
    QString url() const;
    bool start();
    // Killed outright, connections and all.
    void kill();
    // What the server said, for a failure's diagnostics.
    QString output();

private:
    QTemporaryDir dir_;
    QProcess process_;
    Mode mode_;
    quint16 port_ = 0;
};

} // namespace orvanta::test
