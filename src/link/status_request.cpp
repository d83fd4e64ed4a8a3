#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"

namespace orvanta::link {

bool SerialLink::ReadStatus()
{
    if (!IsPortOpen())
        OpenPort();
    bool sent = IsPortOpen();
    if (sent) {
        // Only the reply to this request may be counted.
        FlushInput();
        sent = WriteByte(codes::kStatusRequest);
    }
    if (!sent) {
        failWith(messages::kStatusLinkFailure);
        return false;
    }
    if (!WaitForBytes(status::kInterpretedBytes)) {
        notifier_.warn(messages::kStatusTimeout);
        logFailure(!IsPortOpen()     ? portFailure_
                : BytesWaiting() > 0 ? QStringLiteral("only %1 of %2 bytes of the status came within 2 seconds")
                                           .arg(BytesWaiting())
                                           .arg(status::kInterpretedBytes)
                                     : QStringLiteral("no answer to the status request within 2 seconds"));
        return false;
    }
    // Every byte waiting now is the reply, however many came.
    statusBlock_ = StatusBlock(ReadBytes());
    return true;
}

} // namespace orvanta::link
