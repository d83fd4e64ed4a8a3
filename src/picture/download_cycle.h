#pragma once

#include "link/status_block.h"
#include "link/wait_loop.h"
#include "picture/cycle_kind.h"
#include "picture/download_view.h"
#include "picture/graticule_file.h"
#include "picture/picture_decoder.h"

#include <QString>
#include <QStringList>

#include <functional>

#include <chrono>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::picture {

class Canvas;

// The download of the instrument's screen onto the canvas: the status read,
// the block handshake, the decoder, the graticule rows and the annotation;
// once, or again and again until told to stop.
class DownloadCycle
{
public:
    // A block wait that sees nothing new for this long gives up.
    static constexpr std::chrono::milliseconds kStallLimit{5000};
    static constexpr int kBlockSize = link::kPictureBlockSize;
    static constexpr std::chrono::milliseconds kSettle{100};

    enum class Outcome {
        Completed,
        Noticed, // completed, with a word about the picture (small boxes, graticule)
        Failed,  // said so, port closed
        Refused, // the status read failed and has said why
        Ended,   // the program is ending
        Busy,    // one is already running
    };

    // graticuleFolders: where the twelve graticule files are looked for, in order.
    DownloadCycle(link::SerialLink &link, messages::Notifier &notifier, Canvas &canvas, QStringList graticuleFolders);

    // What is said when the picture's graticule file is in none of the
    // folders: by default the window's message.
    void onGraticuleMissing(std::function<void(const QString &fileName)> say) { graticuleMissing_ = std::move(say); }

    // cmdDownload_Click, and the capture job: view shows the busy pointer
    // and the picture as rows arrive.
    Outcome run(DownloadView &view);
    // cmdContinuous_Click: cycles until one ends with continuousFlag_ cleared,
    // or one fails or has something to say (said once, not every cycle).
    Outcome runContinuous(DownloadView &view);
    bool running() const { return running_.running(); }

    // cmdAbort_Click: PictureRow = 511, so the rows end at the next token
    // boundary, and no further continuous cycle.
    void stopRows();
    void endContinuous() { continuousFlag_ = false; }
    // The window is going: as stopRows, and a continuous download still in
    // its pause fetches no further picture.
    void stop();

    PictureDecoder &decoder() { return decoder_; }
    bool continuous() const { return continuousFlag_; }

private:
    enum class Wait { Arrived, Failed, Ending };

    Outcome cycle(const CycleKind &kind, DownloadView &view);
    Outcome transfer(const CycleKind &kind, DownloadView &view);
    // False when it had to say something.
    bool OpenGraticuleFile();
    Wait RequestPictureBlock();
    Wait nextBlock();
    Wait waitForBlock();

    link::SerialLink &link_;
    messages::Notifier &notifier_;
    Canvas &canvas_;
    QStringList graticuleFolders_;
    std::function<void(const QString &fileName)> graticuleMissing_;
    PictureDecoder decoder_;
    GraticuleFile graticule_;
    // The status as this cycle read it; nested events may read it afresh meanwhile.
    link::StatusBlock status_;
    link::SingleRun running_;
    bool stopRequested_ = false;
    bool continuousFlag_ = false;
    // The cycle failed because the instrument stopped sending, not the link.
    bool stalled_ = false;
};

} // namespace orvanta::picture
