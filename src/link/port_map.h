#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <array>
#include <optional>

namespace orvanta::link {

// Which serial device each of the port numbers 1 to 4 stands for.
// First match wins: --device N=PATH, then ORVANTA_PORTn, then the simulator,
// then the platform's own names.
class PortMap
{
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 4;

    struct Assignment
    {
        int port = 0;
        QString path;
    };

    // "N=PATH" with N 1 to 4 and a non-empty path; nothing otherwise.
    static std::optional<Assignment> parseAssignment(const QString &text);
    // "N=..." with any whole number N: meant as an assignment, right or wrong.
    static bool looksLikeAssignment(const QString &text);
    static QString platformDefault(int port);

    void setDevice(int port, const QString &path);
    void readEnvironment(const QProcessEnvironment &environment);
    void setSimulator(const QString &path) { simulator_ = path; }

    QString devicePath(int port) const;

private:
    static bool valid(int port) { return port >= kFirstPort && port <= kLastPort; }

    std::array<QString, kLastPort + 1> commandLine_;
    std::array<QString, kLastPort + 1> environment_;
    QString simulator_;
};

} // namespace orvanta::link
