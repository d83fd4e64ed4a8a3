#include "link/messages.h"
#include "link/notifier.h"
#include "link/serial_link.h"

namespace orvanta::link {

namespace {
constexpr int kStatusRequest = 13;
} // namespace

void SerialLink::ReadStatus()
{
    if (!IsPortOpen())
        OpenPort();
    bool sent = IsPortOpen();
    if (sent) {
        // Only the reply to this request may be counted.
        FlushInput();
        sent = WriteByte(kStatusRequest);
    }
    if (!sent) {
        notifier_.warn(messages::kStatusLinkFailure);
        ClosePort();
        return;
    }
    if (!WaitForBytes(status::kInterpretedBytes)) {
        notifier_.warn(messages::kStatusTimeout);
        return;
    }
    // Every byte waiting now is the reply, however many came.
    StatusBlock_ = StatusBlock(ReadBytes());
}

} // namespace orvanta::link
