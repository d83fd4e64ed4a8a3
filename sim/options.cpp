#include "options.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace orvanta::sim {

const char *const kUsage = "usage: orvanta-sim [--link PATH] [--record FILE] [--status HEX32] [--silent]\n"
                           "                   [--short N] [--pace BAUD] [--stall-after N] [--hangup-after N]\n"
                           "                   [--live] [--help]\n"
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
                           "  --help          show this text\n"
                           "A value may also follow its option after '=', as in --pace=38400.\n";

namespace {

constexpr unsigned long kMaxStatusLength = 65536;
constexpr unsigned long kMaxBaud = 10'000'000;
constexpr unsigned long kMaxBlocks = 1'000'000;

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
        if (attached && (option == "--help" || option == "--silent" || option == "--live")) {
            line.error = std::string(option) + " takes no value";
            return line;
        }
        if (option == "--help") {
            line.help = true;
            return line;
        }
        if (option == "--silent") {
            options.silent = true;
            continue;
        }
        if (option == "--live") {
            options.live = true;
            continue;
        }
        const bool takesValue = option == "--link" || option == "--record" || option == "--status"
            || option == "--short" || option == "--pace" || option == "--stall-after" || option == "--hangup-after";
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
