#include "app/command_line.h"
#include "app/job_process.h"
#include "app/simulator_process.h"
#include "app/ui/program.h"
#include "app/work_folder.h"
#include "jobs/job_options.h"
#include "ui/message_box_notifier.h"

#include <QApplication>
#include <QProcessEnvironment>

#include <cstdio>

using namespace orvanta;

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "orvanta: %s\n", qPrintable(text));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // orvanta JOB [options]: no window.
    if (argc > 1 && jobs::jobNamed(QString::fromLocal8Bit(argv[1])))
        return app::runJobProcess(argc, argv);

    // Mistakes, help and the port list need no display, so they come before the
    // application object; options it does not know may still be the toolkit's.
    const app::CommandLine early = app::CommandLine::parse(app::argumentList(argc, argv));
    if (!early.error.isEmpty() && !early.onlyUnknownOptions)
        return fail(early.error);
    if (early.error.isEmpty() && (early.help || early.version || early.listPorts)) {
        const QString text = early.help ? app::CommandLine::helpText()
            : early.version             ? app::versionText()
                                        : app::listPorts();
        std::fputs(qPrintable(text), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    const app::CommandLine line = app::CommandLine::parse(QCoreApplication::arguments());
    if (!line.error.isEmpty())
        return fail(line.error);
    if (!app::enterWorkFolder(line.workFolder, QStringLiteral("orvanta")))
        return 2;

    link::PortMap portMap;
    for (const link::PortMap::Assignment &device : line.devices)
        portMap.setDevice(device.port, device.path);
    portMap.readEnvironment(QProcessEnvironment::systemEnvironment());

    app::SimulatorProcess simulator;
    if (line.simulate) {
        const QString path = simulator.start(line.simulatorOptions);
        if (path.isEmpty())
            return fail(simulator.error());
        portMap.setSimulator(path);
    }

    int result = 0;
    {
        app::Program program(portMap, std::make_unique<ui::MessageBoxNotifier>(), [] { QCoreApplication::exit(0); });
        program.start();
        result = QApplication::exec();
    }
    simulator.stop();
    return result;
}
