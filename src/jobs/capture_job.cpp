#include "jobs/job_context.h"
#include "jobs/picture_formats.h"
#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "picture/annotation.h"
#include "picture/canvas.h"
#include "picture/download_cycle.h"
#include "picture/graticule_choice.h"
#include "picture/picture_file.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <QSaveFile>
#include <utility>

namespace orvanta::jobs {

namespace {

// Shows nothing. The annotation's font is first needed at the end, and its
// loading takes a while: the first change of the picture (rows 0 to 2, just
// after code 11) has it loaded during the settle delay that follows, while
// the wait has nothing else to do.
class CaptureView : public picture::DownloadView
{
public:
    void pictureChanged() override
    {
        if (std::exchange(fontRequested_, true))
            return;
        QTimer::singleShot(0, [] {
            QImage scratch(1, 1, QImage::Format_RGB32);
            QPainter painter(&scratch);
            painter.setFont(picture::annotationFont());
            painter.drawText(0, 0, QStringLiteral("0"));
        });
    }

private:
    bool fontRequested_ = false;
};

} // namespace

int runCapture(JobContext &job)
{
    const QString fileName = job.options.output.isEmpty()
        ? QStringLiteral("capture-%1.png").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
        : job.options.output;
    // The options have made sure of the suffix.
    const PictureFormat *format = pictureFormatOf(fileName);
    if (!format)
        return kBadUsage;
    // A file that cannot be written costs no download. Nothing stays behind
    // meanwhile, not even the save's temporary file.
    {
        QSaveFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly)) {
            job.notifier.warn(messages::kPictureNotWritten, fileName, probe.errorString());
            return kFailed;
        }
        probe.cancelWriting();
    }

    picture::Canvas canvas;
    picture::DownloadCycle cycle(job.link, job.notifier, canvas, picture::kGraticuleFolder.toString());
    CaptureView nothingShown;
    switch (cycle.run(nothingShown)) {
    case picture::DownloadCycle::Outcome::Completed: break;
    case picture::DownloadCycle::Outcome::Noticed:
        // Said why already: small boxes have no picture; one without its
        // graticule, or part of it, is still the instrument's screen.
        if (job.link.statusBlock().displayMode() == link::DisplayMode::SmallBoxes)
            return kFailed;
        break;
    default: return kFailed;
    }
    if (job.options.blackOnWhite)
        for (int row = 0; row < picture::Canvas::kSize; ++row)
            canvas.blackOnWhite(row);

    if (const auto error = picture::savePicture(canvas.image(), fileName, format->format)) {
        job.notifier.warn(messages::kPictureNotWritten, error->file, error->reason);
        return kFailed;
    }
    job.out << fileName << Qt::endl;
    return kDone;
}

} // namespace orvanta::jobs
