#pragma once

#include <QObject>

#include <chrono>
#include <cstdint>

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::panel {

class MainWindow;

// The six shift arrows: while a mouse button is held on one, its code goes
// out over and over. The loop runs inside the key's press event and lets
// every other handler run between two codes; the key's release, delivered
// there, ends it.
class ArrowRepeat : public QObject
{
    Q_OBJECT

public:
    // The spacing between two codes, slept through with events running.
    static constexpr std::chrono::milliseconds kRepeatPause{20};

    ArrowRepeat(MainWindow &window, link::SerialLink &link, QObject *parent = nullptr);

    bool repeatFlag() const { return repeatFlag_; }

    // Writes code until repeatFlag_ drops, the write fails or the program ends.
    void RepeatWhileHeld(std::uint8_t code);

private:
    link::SerialLink &link_;
    bool repeatFlag_ = false;
};

} // namespace orvanta::panel
