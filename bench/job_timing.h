#pragma once

// A job timed from exec to exit, as a script pays for it, its output thrown away.
#include "support/job_process.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

namespace orvanta::bench {

// As a script's shell has it, the same as for the job tests.
inline std::vector<QByteArray> jobEnvironment()
{
    std::vector<QByteArray> environment;
    for (const QString &variable : test::jobEnvironment().toStringList())
        environment.push_back(variable.toLocal8Bit());
    return environment;
}

// Runs the program with its output thrown away; its exit code, -1 if it did not exit.
inline int run(const QStringList &arguments)
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

inline void timeJob(benchmark::State &state, const QStringList &arguments)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int code = run(arguments);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (code != 0)
            state.SkipWithError("the job failed");
    }
}

} // namespace orvanta::bench
