#include "error_log.h"

#include "log_record.h"

#include <algorithm>
#include <ctime>

namespace orvanta::sim {

namespace {

// A client that stopped reading for a long time gets a few errors, not all it missed.
constexpr int kMostAtOnce = 8;

} // namespace

ErrorLog::ErrorLog(const LogOptions &options)
    : options_(options)
{
    const std::size_t count = std::min(options_.records, kCapacity);
    for (std::size_t index = 0; index < count; ++index)
        stored_.push_back(formatRecord(storedEntry(index)));
}

void ErrorLog::startLogging(Clock::time_point now)
{
    logging_ = true;
    schedule(now);
}

void ErrorLog::stopLogging()
{
    logging_ = false;
    schedule(Clock::time_point{});
}

void ErrorLog::startReadout()
{
    reading_ = true;
    readNext_ = 0;
    endSent_ = false;
}

void ErrorLog::nextRecord(Reply &reply)
{
    if (!reading_)
        return;
    std::string text;
    for (int record = 0; record < (options_.pairs ? 2 : 1); ++record) {
        if (readNext_ < stored_.size()) {
            std::string next = stored_[readNext_++];
            if (readNext_ == options_.shortAt)
                next.pop_back();
            text += next;
        } else if (!options_.endWord.empty() && !endSent_) {
            endSent_ = true;
            text += formatEndRecord(options_.endWord);
        }
    }
    // In pieces: the first half now, the rest as a late reply.
    const std::size_t now = options_.pieces ? text.size() / 2 : text.size();
    reply.bytes.insert(reply.bytes.end(), text.begin(), text.begin() + std::ptrdiff_t(now));
    reply.late.insert(reply.late.end(), text.begin() + std::ptrdiff_t(now), text.end());
}

void ErrorLog::startRealtime(Clock::time_point now)
{
    realtime_ = true;
    schedule(now);
}

void ErrorLog::stopRealtime()
{
    realtime_ = false;
    schedule(Clock::time_point{});
}

void ErrorLog::schedule(Clock::time_point now)
{
    const bool running = (logging_ || realtime_) && options_.interval.count() > 0;
    if (!running)
        next_.reset();
    else if (!next_)
        next_ = now + options_.interval;
}

void ErrorLog::happen(Clock::time_point now, std::vector<std::uint8_t> &out)
{
    for (int count = 0; next_ && *next_ <= now; ++count) {
        if (count == kMostAtOnce) {
            next_ = now + options_.interval;
            break;
        }
        *next_ += options_.interval;
        const std::time_t clock = std::time(nullptr);
        std::tm local{};
        localtime_r(&clock, &local);
        const std::string record = formatRecord(liveEntry(happened_++, local));
        if (realtime_)
            out.insert(out.end(), record.begin(), record.end());
        if (logging_ && stored_.size() < kCapacity)
            stored_.push_back(record);
    }
}

} // namespace orvanta::sim
