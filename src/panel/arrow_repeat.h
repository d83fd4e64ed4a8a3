#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::panel {

// One of the six shift arrows and the code it repeats.
struct ArrowRow
{
    std::string_view image;
    std::uint8_t code;
};

// "H Shift", "V Shift" and "Phase", right before left, down before up.
std::span<const ArrowRow> arrowTable();

// The six shift arrows: while a mouse button is held on one, its code goes
// out over and over. The loop runs inside the key's press event and lets
// every other handler run between two codes; the key's release, delivered
// there, ends it.
class ArrowRepeat
{
public:
    // The spacing between two codes, slept through with events running.
    static constexpr std::chrono::milliseconds kRepeatPause{20};

    explicit ArrowRepeat(link::SerialLink &link)
        : link_(link)
    { }

    bool repeatFlag() const { return repeatFlag_; }

    // A mouse button goes down on an arrow (any button): its code repeats
    // until the release.
    void press(std::uint8_t code)
    {
        repeatFlag_ = true;
        RepeatWhileHeld(code);
    }
    void release() { repeatFlag_ = false; }

    // Writes code until repeatFlag_ drops, the write fails or the program ends.
    void RepeatWhileHeld(std::uint8_t code);

private:
    link::SerialLink &link_;
    bool repeatFlag_ = false;
};

} // namespace orvanta::panel
