#include "app/command_line.h"
#include "app/job_process.h"
#include "app/simulator_process.h"
#include "app/ui/program.h"
#include "app/work_folder.h"
#include "jobs/job_options.h"
#include "jobs/stop_signals.h"
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

    // Mistakes, help, the version and the port list need no display, so they
    // come before the application object; only the toolkit's own options may
    // stand beside them, and the toolkit takes those.
    const app::CommandLine early = app::CommandLine::parse(app::argumentList(argc, argv));
    if (!early.error.isEmpty() && !early.onlyToolkitOptions)
        return fail(early.error);
    const auto ends = [](const app::CommandLine &line) { return line.help || line.version || line.listPorts; };
    const auto answer = [](const app::CommandLine &line) {
        const QString text = line.help ? app::CommandLine::helpText()
            : line.version             ? app::versionText()
                                       : app::listPorts(line.json);
        return std::fputs(qPrintable(text), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    };
    if (early.error.isEmpty() && ends(early))
        return answer(early);

    QApplication application(argc, argv);
    const app::CommandLine line = app::CommandLine::parse(QCoreApplication::arguments());
    if (!line.error.isEmpty())
        return fail(line.error);
    if (ends(line))
        return answer(line);
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
        bool ended = false;
        app::Program program(portMap, std::make_unique<ui::MessageBoxNotifier>(), [&ended] {
            ended = true;
            QCoreApplication::exit(0);
        });
        // SIGTERM, SIGINT and SIGHUP end the program as its Exit does: the
        // settings saved, a running loop unwound, monitoring told to stop.
        const jobs::StopSignals stopSignals([&program] { program.panel().Shutdown(); });
        program.start();
        // Ended already by a signal during start-up, inside one of its messages.
        if (!ended)
            result = QApplication::exec();
    }
    simulator.stop();
    return result;
}
