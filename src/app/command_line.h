#pragma once

#include "link/port_map.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvanta::app {

struct CommandLine
{
    bool help = false;
    bool listPorts = false;
    bool json = false; // with listPorts
    bool version = false;
    bool simulate = false;
    QStringList simulatorOptions;
    QList<link::PortMap::Assignment> devices;
    // The folder to work in, made and seeded first; empty: the current folder.
    QString workFolder;
    QString error; // set when the command line cannot be used
    // The only options we do not know are the toolkit's own: it takes them.
    bool onlyToolkitOptions = false;

    static CommandLine parse(const QStringList &arguments);
    static QString helpText();
};

// "orvanta 6.1": the name and the version, one line.
QString versionText();

// The program's arguments as the local 8-bit encoding gives them, before any
// application object exists.
QStringList argumentList(int argc, char **argv);

// The serial devices Qt sees, one a line, so a user can find their adapter;
// or a JSON array of objects: device, description, manufacturer,
// serialNumber, and the USB vendorId and productId in hex (null if none).
QString listPorts(bool json);

} // namespace orvanta::app
