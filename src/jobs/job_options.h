#pragma once

#include "link/port_map.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvanta::jobs {

// What a job's process ends with.
enum ExitCode : int {
    kDone = 0,
    kFailed = 1,   // the instrument, the link or the output failed, and said so
    kBadUsage = 2, // the command line cannot be used
};

enum class Job { Status, Capture, ReadLog, Monitor, Send };

// orvanta JOB [options]: the job and everything its command line says.
struct JobOptions
{
    Job job = Job::Status;
    bool help = false;

    // Where the instrument is: a device, or a port number mapped as the
    // window maps it; neither, the port remembered in orva.set.
    QString device;
    std::optional<int> port;
    QList<link::PortMap::Assignment> devices; // --device N=PATH
    std::optional<int> baud;                  // else the rate remembered in orva.set
    bool simulate = false;
    QStringList simulatorOptions;
    QString workFolder;  // empty: the current folder
    QString startFolder; // where the job was started: a relative -o is taken from there

    bool json = false;         // status; read-log, monitor: JSON Lines
    QString output;            // capture, read-log, monitor; empty: the default, "-": standard output
    QString format;            // capture: "png" or "bmp"; empty: by the output's name
    bool blackOnWhite = false; // capture
    bool timestamps = false;   // monitor
    QStringList names;         // send
    bool list = false;         // send: the names it takes, instead of sending

    QString error; // set when the command line cannot be used
};

// The jobs by name, in the order help lists them.
QStringList jobNames();
std::optional<Job> jobNamed(const QString &name);
QString jobName(Job job);

// arguments: the whole command line, the program first and the job second.
JobOptions parseJobOptions(const QStringList &arguments);

// The job's own help; for no job, the list of jobs.
QString jobHelp(std::optional<Job> job);

} // namespace orvanta::jobs
