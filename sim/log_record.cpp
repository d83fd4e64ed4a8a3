#include "log_record.h"

#include <algorithm>

namespace orvanta::sim {

namespace {

// What goes wrong, and where: the kinds of error the alarm menu selects.
struct ErrorKind
{
    std::string_view type;
    std::string_view source;
};

constexpr ErrorKind kErrorKinds[] = {
    {"FullCRC", "SDI1"},
    {"Gamut", "SDI1"},
    {"ActCRC", "SDI2"},
    {"Audio", "AES"},
    {"Illegal", "CVS1"},
    {"NoAudio", "Emb1"},
    {"Black", "SDI1"},
    {"Code", "SDI2"},
    {"HiAudio", "AES"},
    {"NoVideo", "CVS2"},
};
constexpr std::size_t kKindCount = std::size(kErrorKinds);

constexpr int kFirstStoredSecond = 8 * 3600;
constexpr int kStoredStepSeconds = 97;
constexpr int kDaySeconds = 24 * 3600;

void place(std::string &text, const LogColumn &column, std::string_view value)
{
    text.replace(column.column, std::min(value.size(), column.width), value.substr(0, column.width));
}

std::string twoDigits(int value)
{
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

} // namespace

std::string formatRecord(const LogEntry &entry)
{
    std::string text(kRecordText, ' ');
    place(text, kLogColumns[0], entry.type);
    place(text, kLogColumns[1], twoDigits(entry.hour));
    place(text, kLogColumns[2], twoDigits(entry.minute));
    place(text, kLogColumns[3], twoDigits(entry.second));
    place(text, kLogColumns[4], entry.source);
    return text.append(kLineEnd);
}

std::string formatEndRecord(std::string_view word)
{
    std::string text(word.substr(0, kRecordText));
    text.resize(kRecordText, ' ');
    return text.append(kLineEnd);
}

LogEntry storedEntry(std::size_t index)
{
    const ErrorKind &kind = kErrorKinds[index * 3 % kKindCount];
    const int second = int((kFirstStoredSecond + index * kStoredStepSeconds) % kDaySeconds);
    return {kind.type, second / 3600, second / 60 % 60, second % 60, kind.source};
}

LogEntry liveEntry(std::size_t index, const std::tm &now)
{
    const ErrorKind &kind = kErrorKinds[index * 7 % kKindCount];
    return {kind.type, now.tm_hour, now.tm_min, now.tm_sec, kind.source};
}

} // namespace orvanta::sim
