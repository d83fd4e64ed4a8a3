#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orvanta::app {

// orvanta-sim as a child of the program, for --simulate.
class SimulatorProcess
{
public:
    ~SimulatorProcess();

    // Starts the simulator (by default the one beside this program); its
    // device path, or empty with error set.
    QString start(const QStringList &options, const QString &program = {});
    void stop();
    // Ends it at once, as a crash or a pulled cable would.
    void kill();
    const QString &error() const { return error_; }

private:
    QProcess process_;
    QString error_;
};

} // namespace orvanta::app
