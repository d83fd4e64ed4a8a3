#include "command_table.h"

#include "status_block.h"

#include <algorithm>

namespace orvanta::sim {

namespace {

using Steps = std::span<const std::uint8_t>;

constexpr Command noChange(std::uint8_t code)
{
    return {.code = code, .action = Action::noChange};
}

constexpr Command setField(std::uint8_t code, std::uint8_t byte, std::uint8_t mask, std::uint8_t value)
{
    return {.code = code, .action = Action::setField, .byte = byte, .mask = mask, .value = value};
}

constexpr Command toggleBits(std::uint8_t code, std::uint8_t byte, std::uint8_t mask)
{
    return {.code = code, .action = Action::toggleBits, .byte = byte, .mask = mask};
}

constexpr Command stepField(std::uint8_t code, std::uint8_t byte, std::uint8_t mask, Steps steps)
{
    return {.code = code, .action = Action::stepField, .byte = byte, .mask = mask, .steps = steps};
}

constexpr Command storePreset(std::uint8_t code, std::uint8_t preset)
{
    return {.code = code, .action = Action::storePreset, .value = preset};
}

constexpr Command recallPreset(std::uint8_t code, std::uint8_t preset)
{
    return {.code = code, .action = Action::recallPreset, .value = preset};
}

constexpr Command statusRequest(std::uint8_t code)
{
    return {.code = code, .action = Action::statusRequest};
}

constexpr Command picture(std::uint8_t code, Action action)
{
    return {.code = code, .action = action};
}

constexpr Command errorLog(std::uint8_t code, Action action)
{
    return {.code = code, .action = action};
}

// Byte 1, timebase range: H, 2H, V, 2V, Parade.
constexpr std::uint8_t kHvRanges[] = {0x20, 0x40, 0xA0, 0xC0, 0x60};
// Byte 1, magnified ranges: HMag, VMag, LSel.
constexpr std::uint8_t kMagRanges[] = {0x00, 0x80, 0xE0};
// Byte 7: off, EDH, generator.
constexpr std::uint8_t kGenEdhStates[] = {0x00, 0x04, 0x08};
// Byte 14, lamps lit low, so each entry clears exactly one of the five input bits:
// SDI 1, SDI 2; then CVS 1, CVS 2, component.
constexpr std::uint8_t kSdiInputs[] = {0x1E, 0x1D};
constexpr std::uint8_t kAnalogInputs[] = {0x1B, 0x17, 0x0F};

// Every code the instrument knows, in ascending code order.
constexpr Command kCommands[] = {
    noChange(1), noChange(2), noChange(3), noChange(4),              // arrows: cursors and boxes move
    noChange(5), noChange(6),                                        // phase arrows
    errorLog(7, Action::logRecord), errorLog(8, Action::logReadout), // stored log
    picture(10, Action::pictureBlock), picture(11, Action::pictureStart), picture(12, Action::pictureEnd),
    statusRequest(13), errorLog(14, Action::realtimeStart),   // real-time errors on
    stepField(15, 14, 0x1F, kSdiInputs),                      // cmdSDI
    errorLog(16, Action::realtimeStop),                       // real-time errors off, and
    setField(16, 6, 0x30, 0x20), setField(16, 7, 0x30, 0x00), // embedded group 1
    setField(17, 6, 0x30, 0x20), setField(17, 7, 0x30, 0x10), // embedded group 2
    setField(18, 6, 0x30, 0x20), setField(18, 7, 0x30, 0x20), // embedded group 3
    setField(19, 6, 0x30, 0x20), setField(19, 7, 0x30, 0x30), // embedded group 4
    setField(20, 6, 0x30, 0x00),                              // analog audio
    setField(21, 6, 0x30, 0x10),                              // AES audio
    noChange(23),                                             // cmdY
    noChange(24), noChange(25), noChange(26),                 // cursors
    stepField(27, 14, 0x1F, kAnalogInputs),                   // cmdAna
    noChange(29), noChange(30),                               // cmdCb, cmdCr
    toggleBits(31, 10, 0x01),                                 // YRGB
    toggleBits(32, 3, 0x02),                                  // alarm: active-picture CRC
    toggleBits(33, 3, 0x01),                                  // alarm: full-picture CRC
    toggleBits(34, 3, 0x10),                                  // alarm: audio errors
    toggleBits(35, 3, 0x20),                                  // alarm: code errors
    toggleBits(36, 3, 0x08),                                  // alarm: illegal values
    toggleBits(37, 3, 0x04),                                  // alarm: gamut errors
    toggleBits(38, 10, 0x10),                                 // alarm: no audio
    toggleBits(39, 10, 0x02),                                 // alarm: high audio
    toggleBits(40, 10, 0x08),                                 // alarm: no video
    toggleBits(41, 10, 0x04),                                 // alarm: black picture
    toggleBits(42, 3, 0x40),                                  // alarm: key press
    noChange(43), noChange(44), noChange(45), noChange(46),   // full-size presets
    setField(47, 1, 0x03, 0x01),                              // cmdWfm
    noChange(48), noChange(49), noChange(50), noChange(51), noChange(52), setField(53, 1, 0x0C, 0x00), // 4 mag lines
    setField(54, 1, 0x0C, 0x08),                                                                       // 8
    toggleBits(55, 4, 0x80),                                                                           // cmdTraces
    setField(56, 1, 0x0C, 0x04),                                                                       // 16
    setField(57, 1, 0x0C, 0x0C),                                                                       // 32
    toggleBits(58, 5, 0x80),                                           // component input YUV/RGB
    setField(59, 1, 0x03, 0x02),                                       // cmdVect
    toggleBits(60, 5, 0x20),                                           // component output YUV/RGB
    noChange(61),                                                      // cmdOlay
    setField(62, 1, 0x03, 0x03),                                       // cmdDual
    toggleBits(63, 9, 0x02),                                           // component display YUV/RGB
    setField(64, 5, 0x0C, 0x00),                                       // de-emphasis 32 kHz
    setField(65, 5, 0x0C, 0x04),                                       // 44.1 kHz
    setField(66, 5, 0x0C, 0x08),                                       // 48 kHz
    setField(67, 5, 0x0C, 0x0C),                                       // off
    toggleBits(68, 4, 0x80),                                           // trace
    noChange(69), noChange(70), noChange(71), noChange(72),            // box positions
    noChange(73), noChange(74), noChange(75), toggleBits(76, 9, 0x01), // V res
    noChange(79),                                                      // cmdFreeze
    setField(81, 4, 0x30, 0x00),                                       // filter normal
    setField(82, 4, 0x30, 0x10),                                       // low-pass
    setField(83, 4, 0x30, 0x20),                                       // chroma-pass
    noChange(84), noChange(85),                                        // scale up, down
    stepField(87, 1, 0xE0, kHvRanges),                                 // cmdHVRng
    errorLog(88, Action::loggingStart),                                // internal logging on
    errorLog(89, Action::loggingStop),                                 // internal logging off
    stepField(91, 1, 0xE0, kMagRanges),                                // cmdMagRng
    setField(92, 0, 0x03, 0x01),                                       // safe area action
    setField(93, 0, 0x03, 0x00),                                       // active
    setField(94, 0, 0x03, 0x02),                                       // title
    setField(95, 0, 0x03, 0x03),                                       // off
    setField(96, 2, 0x04, 0x00),                                       // waveform gain normal
    setField(97, 2, 0x04, 0x04),                                       // magnified
    setField(98, 2, 0x30, 0x00),                                       // vector gain 100%
    setField(99, 2, 0x30, 0x20),                                       // 75%
    setField(100, 2, 0x30, 0x10),                                      // magnified
    storePreset(101, 0), storePreset(102, 1), storePreset(103, 2), storePreset(104, 3), storePreset(105, 4),
    storePreset(106, 5), storePreset(107, 6), storePreset(108, 7), storePreset(109, 8), recallPreset(110, 0),
    stepField(111, 7, 0x0C, kGenEdhStates), // cmdGenEdh
    recallPreset(112, 1), recallPreset(113, 2), recallPreset(114, 3), recallPreset(115, 4), recallPreset(116, 5),
    recallPreset(117, 6), recallPreset(118, 7), toggleBits(119, 0, 0x80), // cmdRef
    recallPreset(120, 8),
    noChange(123),                // audio bars
    toggleBits(128, 12, 0x01),    // small box top/bottom
    toggleBits(129, 2, 0x08),     // 525 NTSC / PAL-M
    toggleBits(130, 12, 0x04),    // view as analog/digital
    toggleBits(131, 12, 0x02),    // colour full/mono
    toggleBits(132, 7, 0x02),     // sync on green
    toggleBits(133, 6, 0x08),     // PAL switch
    toggleBits(134, 6, 0x80),     // H blank
    setField(135, 11, 0xFF, 0),   // peak hold off
    setField(136, 11, 0xFF, 50),  // 1 s
    setField(137, 11, 0xFF, 100), // 2 s
    setField(138, 11, 0xFF, 200), // 4 s
    setField(139, 11, 0xFF, 255), // infinite
    toggleBits(140, 5, 0x01),     // audio phase channels
    noChange(141),                // reset EDH
    setField(144, 9, 0x1C, 0x00), // meter scale UK PPM
    setField(145, 9, 0x1C, 0x04), // digital
    setField(146, 9, 0x1C, 0x08), // Nordic
    setField(147, 9, 0x1C, 0x0C), // VU
    setField(148, 9, 0x1C, 0x10), // EBU
    setField(149, 9, 0x1C, 0x14), // DIN
    setField(150, 9, 0x1C, 0x18), // expand
    noChange(155),                // cancel cursors
};

constexpr bool rowsFitTheState()
{
    for (const Command &c : kCommands) {
        if (c.byte >= kStatusLength)
            return false;
        const bool preset = c.action == Action::storePreset || c.action == Action::recallPreset;
        if (preset && c.value >= kPresetCount)
            return false;
        if (c.action == Action::setField && (c.value & ~c.mask) != 0)
            return false;
        for (const std::uint8_t step : c.steps) {
            if ((step & ~c.mask) != 0)
                return false;
        }
    }
    return true;
}

// commandsFor() finds a code's rows by binary search.
static_assert(std::ranges::is_sorted(kCommands, {}, &Command::code));
static_assert(rowsFitTheState());

} // namespace

std::span<const Command> commandsFor(std::uint8_t code)
{
    const auto [first, last] = std::ranges::equal_range(kCommands, code, {}, &Command::code);
    return {first, last};
}

} // namespace orvanta::sim
