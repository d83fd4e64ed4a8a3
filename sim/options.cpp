#include "options.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace orvanta::sim {

const char *const kUsage = "usage: orvanta-sim [--link PATH] [--record FILE] [--status HEX32] [--silent]\n"
                           "                   [--short N] [--pace BAUD] [--stall-after N] [--hangup-after N]\n"
                           "                   [--live] [--log-records N] [--log-end WORD | --log-no-end]\n"
                           "                   [--log-pieces] [--log-pairs] [--log-short-at N] [--error-interval MS]\n"
                           "                   [--chaos SEED] [--help]\n"
                           "Plays the instrument on a pseudo-terminal and prints the device path as the\n"
                           "first line on stdout. Ends on SIGTERM or SIGINT.\n"
                           "  --link PATH     make PATH a symbolic link to the device while running\n"
                           "  --record FILE   write every received byte as \"<monotonic ns> <byte>\" lines,\n"
                           "                  stamped as a line at the baud the client set carries them\n"
                           "  --status HEX32  start with this status block, 32 hex digits\n"
                           "  --silent        receive and record, but never answer\n"
                           "  --short N       answer a status request with N bytes (the block cut, or padded)\n"
                           "  --pace BAUD     send byte by byte, each at its time on a line at BAUD\n"
                           "                  (10 bits a byte)\n"
                           "  --stall-after N   leave requests for picture blocks unanswered after the\n"
                           "                    first N blocks of a transfer\n"
                           "  --hangup-after N  at the request for picture block N + 1 of a transfer, close\n"
                           "                    the device (the client sees the line hang up) and exit 0\n"
                           "  --live          move a marker along the top of each picture by one step a\n"
                           "                  transfer, so that successive pictures differ\n"
                           "  --log-records N   the stored log holds N errors at start (default 8, at most 1000)\n"
                           "  --log-end WORD    the record after the last stored one starts with WORD\n"
                           "                    (default END)\n"
                           "  --log-no-end      no record follows the last stored one: the next request\n"
                           "                    goes unanswered\n"
                           "  --log-pieces      each stored-log reply comes in two halves, the second 300 ms\n"
                           "                    later\n"
                           "  --log-pairs       each request for a stored record is answered with two\n"
                           "  --log-short-at N  stored record N (from 1) comes without its last byte\n"
                           "  --error-interval MS  while internal logging (88) or real-time error output (14)\n"
                           "                    runs, an error happens every MS ms (default 2000; 0: none)\n"
                           "  --chaos SEED    faults come and go: of the replies some are cut short, some\n"
                           "                  held back up to 3 s, some come with a burst of random bytes\n"
                           "                  before or after; now and then the line falls silent for up\n"
                           "                  to 5 s, and rarely, with --link, it hangs up and a fresh\n"
                           "                  device takes the link (the old path goes). Each code\n"
                           "                  received draws the fate of its reply from SEED (0 to\n"
                           "                  4294967295): the same seed and codes give the same faults\n"
                           "  --help          show this text\n"
                           "A value may also follow its option after '=', as in --pace=38400.\n";

namespace {

constexpr unsigned long kMaxStatusLength = 65536;
constexpr unsigned long kMaxBaud = 10'000'000;
constexpr unsigned long kMaxBlocks = 1'000'000;
constexpr unsigned long kMaxRecords = ErrorLog::kCapacity;
constexpr unsigned long kMaxIntervalMs = 3'600'000;
constexpr unsigned long kMaxSeed = 4'294'967'295;

bool isFlag(std::string_view option)
{
    return option == "--help" || option == "--silent" || option == "--live" || option == "--log-no-end"
        || option == "--log-pieces" || option == "--log-pairs";
}

std::optional<unsigned long> parseNumber(std::string_view text, unsigned long low, unsigned long high)
{
    unsigned long value = 0;
    const char *end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || next != end || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

CommandLine parseCommandLine(int argc, const char *const argv[])
{
    CommandLine line;
    Options &options = line.options;
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        // "--pace=38400" reads as "--pace" "38400".
        std::optional<std::string_view> attached;
        if (const auto equals = option.find('='); option.starts_with("--") && equals != option.npos) {
            attached = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        if (attached && isFlag(option)) {
            line.error = std::string(option) + " takes no value";
            return line;
        }
        if (option == "--help") {
            line.help = true;
            return line;
        }
        if (isFlag(option)) {
            options.silent = options.silent || option == "--silent";
            options.live = options.live || option == "--live";
            if (option == "--log-no-end")
                options.log.endWord.clear();
            options.log.pieces = options.log.pieces || option == "--log-pieces";
            options.log.pairs = options.log.pairs || option == "--log-pairs";
            continue;
        }
        const bool takesValue = option == "--link" || option == "--record" || option == "--status"
            || option == "--short" || option == "--pace" || option == "--stall-after" || option == "--hangup-after"
            || option == "--log-records" || option == "--log-end" || option == "--log-short-at"
            || option == "--error-interval" || option == "--chaos";
        if (!takesValue) {
            line.error = "unknown option " + std::string(option);
            return line;
        }
        const std::string_view value = attached ? *attached : i + 1 < argc ? argv[++i] : "";
        if (value.empty()) {
            line.error = std::string(option) + " needs a value";
            return line;
        }
        if (option == "--link") {
            options.linkPath = value;
        } else if (option == "--record") {
            options.recordPath = value;
        } else if (option == "--status") {
            const auto block = parseStatusHex(value);
            if (!block) {
                line.error = "--status needs exactly 32 hex digits";
                return line;
            }
            options.status = *block;
        } else if (option == "--short") {
            const auto length = parseNumber(value, 0, kMaxStatusLength);
            if (!length) {
                line.error = "--short needs a byte count from 0 to " + std::to_string(kMaxStatusLength);
                return line;
            }
            options.statusLength = *length;
        } else if (option == "--log-records" || option == "--log-short-at") {
            const auto count = parseNumber(value, option == "--log-records" ? 0 : 1, kMaxRecords);
            if (!count) {
                line.error = std::string(option) + " needs a record count up to " + std::to_string(kMaxRecords);
                return line;
            }
            (option == "--log-records" ? options.log.records : options.log.shortAt) = *count;
        } else if (option == "--log-end") {
            options.log.endWord = value;
        } else if (option == "--error-interval") {
            const auto ms = parseNumber(value, 0, kMaxIntervalMs);
            if (!ms) {
                line.error = "--error-interval needs milliseconds from 0 to " + std::to_string(kMaxIntervalMs);
                return line;
            }
            options.log.interval = std::chrono::milliseconds(*ms);
        } else if (option == "--chaos") {
            const auto seed = parseNumber(value, 0, kMaxSeed);
            if (!seed) {
                line.error = "--chaos needs a seed from 0 to " + std::to_string(kMaxSeed);
                return line;
            }
            options.chaosSeed = static_cast<std::uint32_t>(*seed);
        } else if (option == "--stall-after" || option == "--hangup-after") {
            const auto blocks = parseNumber(value, 0, kMaxBlocks);
            if (!blocks) {
                line.error = std::string(option) + " needs a block count from 0 to " + std::to_string(kMaxBlocks);
                return line;
            }
            if (option == "--stall-after")
                options.stallAfter = *blocks;
            else
                options.hangupAfter = *blocks;
        } else {
            const auto baud = parseNumber(value, 1, kMaxBaud);
            if (!baud) {
                line.error = "--pace needs a baud rate from 1 to " + std::to_string(kMaxBaud);
                return line;
            }
            options.paceBaud = static_cast<unsigned>(*baud);
        }
    }
    return line;
}

} // namespace orvanta::sim
