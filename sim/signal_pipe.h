#pragma once

#include <initializer_list>

namespace orvanta::sim {

// Turns the stop signals into a readable fd, so poll() wakes for them like for any
// other event and the main loop ends in an orderly way (links removed, exit 0).
class SignalPipe
{
public:
    // Installs the handler for each signal; throws std::system_error on failure.
    explicit SignalPipe(std::initializer_list<int> signals);
    ~SignalPipe();

    SignalPipe(const SignalPipe &) = delete;
    SignalPipe &operator=(const SignalPipe &) = delete;

    int fd() const;
    // Empties the pipe; true when a signal had arrived.
    bool drain() const;
};

} // namespace orvanta::sim
