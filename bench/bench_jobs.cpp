// A job from exec to exit, as a script pays for it: process start-up, the
// link, the instrument's answer, the output and the exit. A capture is set
// against the picture window's own single download of the same picture.
#include "support/job_process.h"
#include "support/picture_rig.h"
#include "support/sim_process.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

using namespace orvanta;

namespace {

// As a script's shell has it, the same as for the job tests.
std::vector<QByteArray> jobEnvironment()
{
    std::vector<QByteArray> environment;
    for (const QString &variable : test::jobEnvironment().toStringList())
        environment.push_back(variable.toLocal8Bit());
    return environment;
}

// Runs the program with its output thrown away; its exit code, -1 if it did not exit.
int run(const QStringList &arguments)
{
    std::vector<QByteArray> storage{QByteArrayLiteral(ORVANTA_PROGRAM_PATH)};
    for (const QString &argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<QByteArray> environment = jobEnvironment();
    std::vector<char *> envp;
    for (QByteArray &variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void timeJob(benchmark::State &state, const QStringList &arguments)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int code = run(arguments);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (code != 0)
            state.SkipWithError("the job failed");
    }
}

// The instrument is there already, as in a monitoring system's check.
void BM_StatusExecToExit(benchmark::State &state)
{
    test::SimProcess sim;
    timeJob(state, {"status", "--device", sim.devicePath(), "--baud", "38400"});
}

void BM_StatusJsonExecToExit(benchmark::State &state)
{
    test::SimProcess sim;
    timeJob(state, {"status", "--json", "--device", sim.devicePath(), "--baud", "38400"});
}

// The reply paced as a real 38 400 baud line sends it.
void BM_StatusPacedExecToExit(benchmark::State &state)
{
    test::SimProcess sim({"--pace", "38400"});
    timeJob(state, {"status", "--device", sim.devicePath(), "--baud", "38400"});
}

// With the simulator started and stopped by the job itself.
void BM_StatusSimulateExecToExit(benchmark::State &state)
{
    timeJob(state, {"status", "--simulate"});
}

// One picture at the real line speed, written to a PNG file, from exec to exit.
void BM_CaptureExecToExit(benchmark::State &state)
{
    test::SimProcess sim({"--pace", "38400", "--status", test::kPalWaveform});
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("graticules");
    for (const QString &name : QDir(test::kDataGraticules).entryList(QDir::Files))
        QFile::copy(test::kDataGraticules + '/' + name, folder.filePath("graticules/" + name));
    timeJob(
        state, {"capture", "--device", sim.devicePath(), "--baud", "38400", "--workdir", folder.path(), "-o", "x.png"});
}

// The window's "Download Single Frame" of the same picture, the port already open.
void BM_WindowSingleDownload(benchmark::State &state)
{
    test::PictureRig rig(test::kPalWaveform, {"--pace", "38400"});
    rig.serial->SetPortSettings("38400,N,8,1");
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        rig.download();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!rig.notifier.messages.isEmpty())
            state.SkipWithError("the download failed");
    }
}

} // namespace

BENCHMARK(BM_CaptureExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(5);
BENCHMARK(BM_WindowSingleDownload)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(5);
BENCHMARK(BM_StatusExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusJsonExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusPacedExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusSimulateExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
