// A job from exec to exit, as a script pays for it: process start-up, the
// link, the instrument's answer, the output and the exit.
#include "support/sim_process.h"

#include <QCoreApplication>
#include <QStringList>

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

using namespace orvanta;

namespace {

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
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
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

} // namespace

BENCHMARK(BM_StatusExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusJsonExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusPacedExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusSimulateExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char **argv)
{
    // The jobs run as a script starts them: no platform chosen.
    qunsetenv("QT_QPA_PLATFORM");
    return bench::runBenchmarks<QCoreApplication>(argc, argv);
}
