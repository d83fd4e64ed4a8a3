#include "jobs/job_context.h"
#include "jobs/picture_formats.h"
#include "link/messages.h"
#include "link/serial_link.h"
#include "picture/canvas.h"
#include "picture/download_cycle.h"
#include "picture/graticule_choice.h"
#include "picture/picture_file.h"

#include <QDateTime>
#include <QSaveFile>

namespace orvanta::jobs {

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
            picture::warnFileError(job.notifier, link::messages::kPictureNotWritten, {fileName, probe.errorString()});
            return kFailed;
        }
        probe.cancelWriting();
    }

    picture::Canvas canvas;
    picture::DownloadCycle cycle(job.link, job.notifier, canvas, picture::kGraticuleFolder.toString());
    picture::DownloadView nothingShown;
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
        picture::warnFileError(job.notifier, link::messages::kPictureNotWritten, *error);
        return kFailed;
    }
    job.out << fileName << Qt::endl;
    return kDone;
}

} // namespace orvanta::jobs
