#include "panel/arrow_repeat.h"

#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"

namespace orvanta::panel {

namespace {

constexpr ArrowRow kArrows[] = {
    {.image = "imgRight", .code = 1},
    {.image = "imgLeft", .code = 2},
    {.image = "imgDown", .code = 3},
    {.image = "imgUp", .code = 4},
    {.image = "imgPhright", .code = 5},
    {.image = "imgPhleft", .code = 6},
};

} // namespace

std::span<const ArrowRow> arrowTable()
{
    return kArrows;
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
            link_.failWith(messages::kSerialPort);
            return;
        }
        waits.until([this] { return !repeatFlag_; }, QDeadlineTimer(kRepeatPause, Qt::PreciseTimer));
    }
}

} // namespace orvanta::panel
