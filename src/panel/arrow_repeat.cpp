#include "panel/arrow_repeat.h"

#include "link/messages.h"
#include "link/notifier.h"
#include "link/serial_link.h"
#include "panel/arrow_key.h"
#include "panel/main_window.h"

#include <string_view>

namespace orvanta::panel {

namespace {

struct ArrowRow
{
    std::string_view image;
    std::uint8_t code;
};

// "H Shift", "V Shift" and "Phase", right before left, down before up.
constexpr ArrowRow kArrows[] = {
    {.image = "imgRight", .code = 1},
    {.image = "imgLeft", .code = 2},
    {.image = "imgDown", .code = 3},
    {.image = "imgUp", .code = 4},
    {.image = "imgPhright", .code = 5},
    {.image = "imgPhleft", .code = 6},
};

} // namespace

ArrowRepeat::ArrowRepeat(MainWindow &window, link::SerialLink &link, QObject *parent)
    : QObject(parent)
    , link_(link)
{
    for (const ArrowRow &row : kArrows) {
        ArrowKey *key = window.image(QString::fromLatin1(row.image));
        // Any mouse button: the button of the event does not matter.
        connect(key, &ArrowKey::mouseDown, this, [this, code = row.code] {
            repeatFlag_ = true;
            RepeatWhileHeld(code);
        });
        connect(key, &ArrowKey::mouseUp, this, [this] { repeatFlag_ = false; });
    }
}

void ArrowRepeat::RepeatWhileHeld(std::uint8_t code)
{
    link::WaitLoop &waits = link_.waits();
    for (;;) {
        // One pass without sleeping, so a release that was already waiting
        // ends the repeat before anything is written.
        if (!waits.runPending() || !repeatFlag_)
            return;
        // Not opened first: the poll keeps the port open in normal running.
        if (!link_.WriteByte(code)) {
            link_.notifier().warn(link::messages::kSerialPort);
            link_.ClosePort();
            return;
        }
        waits.until([this] { return !repeatFlag_; }, QDeadlineTimer(kRepeatPause, Qt::PreciseTimer));
    }
}

} // namespace orvanta::panel
