#include "picture/download_cycle.h"

#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "picture/annotation.h"
#include "picture/canvas.h"
#include "picture/graticule_choice.h"

#include <QDir>
#include <QFont>
#include <QScopeGuard>

#include <algorithm>

namespace orvanta::picture {

namespace {

constexpr int kNtscBlackFrom = 430;

} // namespace

DownloadCycle::DownloadCycle(
    link::SerialLink &link, messages::Notifier &notifier, Canvas &canvas, QStringList graticuleFolders)
    : link_(link)
    , notifier_(notifier)
    , canvas_(canvas)
    , graticuleFolders_(std::move(graticuleFolders))
    , graticuleMissing_([&notifier](const QString &) { notifier.warn(messages::kGraticulesMissing); })
    , decoder_(canvas)
{ }

void DownloadCycle::stopRows()
{
    decoder_.stop();
    continuousFlag_ = false;
}

void DownloadCycle::stop()
{
    stopRequested_ = true;
    stopRows();
}

DownloadCycle::Outcome DownloadCycle::run(DownloadView &view)
{
    // A click nested in a running download's wait would share its decoder and file.
    const link::SingleRun::Entry entry = running_.enter();
    if (!entry)
        return Outcome::Busy;
    stopRequested_ = false;
    return cycle(kSingleCycle, view);
}

DownloadCycle::Outcome DownloadCycle::runContinuous(DownloadView &view)
{
    const link::SingleRun::Entry entry = running_.enter();
    if (!entry)
        return Outcome::Busy;
    stopRequested_ = false;
    continuousFlag_ = true;
    for (;;) {
        const Outcome outcome = cycle(kContinuousCycle, view);
        // A message every half second would leave no moment to press Stop.
        if (outcome != Outcome::Completed)
            continuousFlag_ = false;
        if (!continuousFlag_)
            return outcome;
    }
}

DownloadCycle::Outcome DownloadCycle::cycle(const CycleKind &kind, DownloadView &view)
{
    const auto done = qScopeGuard([this] { graticule_.close(); });
    stalled_ = false;
    Outcome outcome = transfer(kind, view);
    if (outcome == Outcome::Failed) {
        link_.failWith(messages::kDownloadFailed,
            stalled_ ? QStringLiteral("no picture bytes came for %1 seconds").arg(kStallLimit.count() / 1000)
                     : QString());
    } else if ((outcome == Outcome::Completed || outcome == Outcome::Noticed) && graticule_.exhausted()) {
        notifier_.warn(messages::kGraticuleShort);
        outcome = Outcome::Noticed;
    }
    return outcome;
}

DownloadCycle::Outcome DownloadCycle::transfer(const CycleKind &kind, DownloadView &view)
{
    if (kind.pauseFirst > std::chrono::milliseconds::zero()) {
        link_.Delay(kind.pauseFirst);
        if (link_.ending())
            return Outcome::Ended;
        // The window went during the pause: no picture is started for it.
        if (stopRequested_)
            return Outcome::Completed;
    }

    // Real-time error output would mix with the picture.
    if (kind.endsRealtime && link_.realtimeActive()) {
        link_.setRealtimeActive(false);
        if (!(link_.IsPortOpen() || link_.OpenPort()) || !link_.WriteByte(link::codes::kEndRealtime))
            return Outcome::Failed;
        link_.Delay(kSettle);
        if (link_.ending())
            return Outcome::Ended;
    }

    const bool fresh = link_.ReadStatus();
    if (link_.ending())
        return Outcome::Ended;
    if (!fresh)
        return Outcome::Refused;
    status_ = link_.statusBlock();

    if (!link_.WriteByte(link::codes::kStartPicture))
        return Outcome::Failed;
    link_.FlushInput();
    if (kind.clearsContinuous)
        continuousFlag_ = false;
    canvas_.fillRows(0, 2, palette::kBlack);
    view.pictureChanged();
    link_.Delay(kSettle);
    if (link_.ending())
        return Outcome::Ended;

    const bool quiet = OpenGraticuleFile();
    if (kind.busyPointer)
        view.setBusy(true);
    const auto idle = qScopeGuard([&] {
        if (kind.busyPointer)
            view.setBusy(false);
    });

    // The small boxes have no picture to read.
    if (status_.displayMode().value_or(link::DisplayMode::SmallBoxes) != link::DisplayMode::SmallBoxes) {
        decoder_.start(status_, graticule_.isOpen() ? &graticule_ : nullptr);
        if (stopRequested_)
            decoder_.stop();
        int firstRow = decoder_.pictureRow();
        Wait wait = RequestPictureBlock();
        while (wait == Wait::Arrived) {
            // Only the rows this block drew: a whole repaint a block costs more than its bytes.
            const int lastRow = std::min(decoder_.pictureRow(), Canvas::kSize - 1);
            view.rowsChanged(firstRow, lastRow);
            firstRow = lastRow;
            if (decoder_.finished())
                break;
            wait = nextBlock();
        }
        if (wait == Wait::Ending)
            return Outcome::Ended;
        if (wait == Wait::Failed)
            return Outcome::Failed;
    }

    // The block asked for after the last one used is collected unread.
    switch (waitForBlock()) {
    case Wait::Ending: return Outcome::Ended;
    case Wait::Failed: return Outcome::Failed;
    case Wait::Arrived: break;
    }
    link_.FlushInput();
    if (!link_.WriteByte(link::codes::kEndPicture))
        return Outcome::Failed;

    AddStatusText(canvas_, status_, annotationFont());
    if (!status_.isSet(link::status::kPal).value_or(false))
        canvas_.fillRows(kNtscBlackFrom, Canvas::kSize - 1, palette::kBlack);
    view.pictureChanged();
    // The pointer comes back as this returns, and cycle() closes the file.
    return quiet ? Outcome::Completed : Outcome::Noticed;
}

bool DownloadCycle::OpenGraticuleFile()
{
    bool quiet = true;
    const GraticuleChoice choice = chooseGraticule(status_);
    if (choice.smallBoxes) {
        notifier_.warn(messages::kSmallBoxes);
        quiet = false;
    }
    if (choice.fileName.isEmpty())
        return quiet;
    for (const QString &folder : std::as_const(graticuleFolders_))
        if (graticule_.open(QDir(folder).filePath(choice.fileName)))
            return quiet;
    graticuleMissing_(choice.fileName);
    return false;
}

DownloadCycle::Wait DownloadCycle::RequestPictureBlock()
{
    link_.FlushInput();
    if (!link_.WriteByte(link::codes::kNextPictureBlock))
        return Wait::Failed;
    return nextBlock();
}

DownloadCycle::Wait DownloadCycle::nextBlock()
{
    const Wait wait = waitForBlock();
    if (wait != Wait::Arrived)
        return wait;
    // Only the first 128 bytes of a read count; the rest are dropped with the flush.
    decoder_.takeBlock(link_.ReadBytes());
    link_.FlushInput();
    // Asked for before drawing, so the next block is on its way meanwhile.
    if (!link_.WriteByte(link::codes::kNextPictureBlock))
        return Wait::Failed;
    decoder_.decode();
    return Wait::Arrived;
}

DownloadCycle::Wait DownloadCycle::waitForBlock()
{
    // Bounded by the time without a new byte, not by the whole block's time.
    int seen = -1;
    bool flowing = false;
    QDeadlineTimer stall(kStallLimit);
    const auto result = link_.waits().until(
        [&] {
            if (!link_.IsPortOpen())
                return true;
            const int waiting = link_.BytesWaiting();
            flowing = waiting > seen;
            if (flowing) {
                seen = waiting;
                stall.setRemainingTime(kStallLimit);
            }
            return waiting >= kBlockSize;
        },
        stall,
        // While bytes come, the rest of the block needs its line time; a silent
        // line is waited on until its next byte.
        [&] { return flowing ? link_.lineTime(kBlockSize - seen) : std::chrono::microseconds::zero(); });
    switch (result) {
    case link::WaitLoop::Result::Ending: return Wait::Ending;
    case link::WaitLoop::Result::TimedOut: stalled_ = true; return Wait::Failed;
    case link::WaitLoop::Result::Done: break;
    }
    return link_.IsPortOpen() ? Wait::Arrived : Wait::Failed;
}

} // namespace orvanta::picture
