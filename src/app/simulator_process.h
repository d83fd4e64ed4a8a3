#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orvanta::app {

// orvanta-sim as a child of the program, for --simulate. It runs in a session
// of its own: a terminal's Ctrl+C, sent to the whole process group, reaches
// the program, which ends it in its own time, and not the simulator first.
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
    // The simulator would not take the options it was given: a usage error.
    bool refusedOptions() const { return refused_; }

private:
    QProcess process_;
    QString error_;
    bool refused_ = false;
    bool starting_ = false;
};

} // namespace orvanta::app
