#include "chaos.h"

namespace orvanta::sim {

namespace {

using Fate = Chaos::Fate;
using Odds = Chaos::Odds;
using std::chrono::milliseconds;

constexpr unsigned kOutOf = 10'000;

// A picture takes some 25 stream codes, so a transfer meets a fault about as
// often as one status request does, and most pictures still come whole.
constexpr Odds kOdds[] = {
    {.fate = Fate::cut, .exchange = 300, .stream = 15, .error = 300},
    {.fate = Fate::pause, .exchange = 500, .stream = 40, .error = 300},
    {.fate = Fate::noiseBefore, .exchange = 250, .stream = 15, .error = 250},
    {.fate = Fate::noiseAfter, .exchange = 250, .stream = 15, .error = 250},
    {.fate = Fate::silence, .exchange = 100, .stream = 5, .error = 100},
    {.fate = Fate::hangUp, .exchange = 25, .stream = 2, .error = 20},
};

constexpr bool leavesMostWhole(unsigned Odds::*column)
{
    unsigned sum = 0;
    for (const Odds &odds : kOdds)
        sum += odds.*column;
    return sum < kOutOf / 4;
}
static_assert(leavesMostWhole(&Odds::exchange) && leavesMostWhole(&Odds::stream) && leavesMostWhole(&Odds::error));

// Pauses stay under the picture's 5 s block wait and sometimes pass the 2 s status wait.
constexpr milliseconds kShortestPause{20};
constexpr milliseconds kLongestPause{3000};
constexpr milliseconds kShortestSilence{500};
constexpr milliseconds kLongestSilence{5000};
constexpr unsigned kMostNoise = 64;

// 0 to n - 1 from the generator's 32 bits alone, the same on every library.
unsigned below(std::mt19937 &random, std::size_t n)
{
    return static_cast<unsigned>((std::uint64_t{random()} * n) >> 32);
}

milliseconds between(std::mt19937 &random, milliseconds low, milliseconds high)
{
    return low + milliseconds(below(random, static_cast<std::size_t>((high - low).count()) + 1));
}

Fate draw(std::mt19937 &random, unsigned Odds::*column)
{
    unsigned roll = below(random, kOutOf);
    for (const Odds &odds : kOdds) {
        if (roll < odds.*column)
            return odds.fate;
        roll -= odds.*column;
    }
    return Fate::whole;
}

std::vector<std::uint8_t> noise(std::mt19937 &random)
{
    std::vector<std::uint8_t> bytes(1 + below(random, kMostNoise));
    for (std::uint8_t &byte : bytes)
        byte = static_cast<std::uint8_t>(below(random, 256));
    return bytes;
}

} // namespace

Chaos::Chaos(std::uint32_t seed, bool mayHangUp)
    : replies_(seed)
    , errors_(seed ^ 0x9e3779b9U)
    , mayHangUp_(mayHangUp)
{ }

Chaos::Turn Chaos::bendReply(Reply &reply, Clock::time_point now)
{
    const bool answered = reply.pictureBlock == 0 && !(reply.bytes.empty() && reply.late.empty());
    const Turn turn = bend(replies_, answered ? &Odds::exchange : &Odds::stream, reply.bytes, now);
    if (now < silentUntil_)
        reply.late.clear();
    return turn;
}

Chaos::Turn Chaos::bendErrors(std::vector<std::uint8_t> &lines, Clock::time_point now)
{
    return bend(errors_, &Odds::error, lines, now);
}

Chaos::Turn Chaos::bend(
    std::mt19937 &random, unsigned Odds::*column, std::vector<std::uint8_t> &bytes, Clock::time_point now)
{
    // Every draw is made whatever the state, so the schedule depends on the codes alone.
    Turn turn;
    switch (draw(random, column)) {
    case Fate::whole: break;
    case Fate::cut: bytes.resize(below(random, bytes.size())); break;
    case Fate::pause: turn.pause = between(random, kShortestPause, kLongestPause); break;
    case Fate::noiseBefore: {
        const std::vector<std::uint8_t> burst = noise(random);
        bytes.insert(bytes.begin(), burst.begin(), burst.end());
        break;
    }
    case Fate::noiseAfter: {
        const std::vector<std::uint8_t> burst = noise(random);
        bytes.insert(bytes.end(), burst.begin(), burst.end());
        break;
    }
    case Fate::silence: silentUntil_ = now + between(random, kShortestSilence, kLongestSilence); break;
    case Fate::hangUp: turn.hangUp = mayHangUp_; break;
    }
    if (now < silentUntil_) {
        bytes.clear();
        turn.pause = milliseconds::zero();
    }
    return turn;
}

} // namespace orvanta::sim
