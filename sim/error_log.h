#pragma once

#include "reply.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::sim {

struct LogOptions
{
    std::size_t records = 8;                  // in the stored log at power-on
    std::string endWord = "END";              // starts the record after the last; empty: none is sent
    bool pieces = false;                      // each reply comes in two pieces, the second one late
    bool pairs = false;                       // each request is answered with two records at once
    std::size_t shortAt = 0;                  // this record (from 1) comes without its last byte; 0: none
    std::chrono::milliseconds interval{2000}; // between errors while logging or real-time output runs; 0: none
};

// The instrument's error log: the stored log and its readout (8, then 7 for
// each record), internal logging (88 on, 89 off) and real-time error output
// (14 on, 16 off). While logging or real-time output runs, an error happens
// every interval: it is stored, or sent as a line, or both.
class ErrorLog
{
public:
    using Clock = std::chrono::steady_clock;

    // Beyond this the instrument's memory is full and further errors are not stored.
    static constexpr std::size_t kCapacity = 1000;

    explicit ErrorLog(const LogOptions &options);

    void startLogging(Clock::time_point now);
    void stopLogging();
    void startReadout();
    void nextRecord(Reply &reply);
    void startRealtime(Clock::time_point now);
    void stopRealtime();

    // When the next error happens; nothing while neither logging nor real-time output runs.
    std::optional<Clock::time_point> nextError() const { return next_; }
    // The errors that have happened by now: stored, and their real-time lines added to out.
    void happen(Clock::time_point now, std::vector<std::uint8_t> &out);

private:
    void schedule(Clock::time_point now);

    LogOptions options_;
    std::vector<std::string> stored_;
    bool reading_ = false;
    std::size_t readNext_ = 0;
    bool endSent_ = false;
    bool logging_ = false;
    bool realtime_ = false;
    std::optional<Clock::time_point> next_;
    std::size_t happened_ = 0;
};

} // namespace orvanta::sim
