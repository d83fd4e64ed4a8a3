#pragma once

#include <array>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace orvanta::sim {

// One error as the instrument records it.
struct LogEntry
{
    std::string_view type;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::string_view source;
};

// Where each field of a record stands: under the first letter of its name in
// the client's heading " Type    Hour   Min   Sec   Source".
struct LogColumn
{
    std::string_view name;
    std::size_t column;
    std::size_t width;
};

inline constexpr std::array<LogColumn, 5> kLogColumns{{
    {.name = "Type", .column = 1, .width = 7},
    {.name = "Hour", .column = 9, .width = 2},
    {.name = "Min", .column = 16, .width = 2},
    {.name = "Sec", .column = 22, .width = 2},
    {.name = "Source", .column = 28, .width = 4},
}};

// A record is its text padded to 32 characters, then CR LF: 34 bytes, exactly
// what the client waits for before it takes a record.
inline constexpr std::size_t kRecordText = 32;
inline constexpr std::string_view kLineEnd = "\r\n";

static_assert(kLogColumns.back().column + kLogColumns.back().width <= kRecordText);

std::string formatRecord(const LogEntry &entry);
// The record that ends the stored log: word (normally "END") first, then blanks.
std::string formatEndRecord(std::string_view word);

// The errors of the stored log at power-on, the same on every run: index 0 at
// 08:00:00, the next ones a minute and a half or so apart.
LogEntry storedEntry(std::size_t index);
// The index-th error that happens while running, stamped with the time of day.
LogEntry liveEntry(std::size_t index, const std::tm &now);

} // namespace orvanta::sim
