#include "options.h"
#include "simulator.h"

#include <csignal>
#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    using namespace orvanta::sim;

    const CommandLine line = parseCommandLine(argc, argv);
    if (line.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!line.error.empty()) {
        std::fprintf(stderr, "orvanta-sim: %s\n%s", line.error.c_str(), kUsage);
        return 2;
    }

    // A client that goes away must not take us with it.
    std::signal(SIGPIPE, SIG_IGN);

    try {
        Simulator simulator(line.options);
        // The device path is the only thing on stdout: whoever started us reads it.
        std::printf("%s\n", simulator.devicePath().c_str());
        std::fflush(stdout);
        return simulator.run();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "orvanta-sim: %s\n", error.what());
        return 1;
    }
}
