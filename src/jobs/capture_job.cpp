#include "files/whole_file.h"
#include "jobs/job_context.h"
#include "jobs/picture_formats.h"
#include "jobs/standard_output.h"
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

#include <QDir>
#include <QFileInfo>

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

// capture-YYYYMMDD-HHMMSS-mmm.png, and a count after it for the second and later.
QString defaultName(const QDateTime &taken, int count, const char *format)
{
    const QString stamp = taken.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    return count == 1 ? QStringLiteral("capture-%1.%2").arg(stamp, QLatin1StringView(format))
                      : QStringLiteral("capture-%1-%2.%3").arg(stamp).arg(count).arg(QLatin1StringView(format));
}

} // namespace

int runCapture(JobContext &job)
{
    const QString output = job.options.output;
    const bool toStandardOutput = output == u"-";
    const bool named = !output.isEmpty() && !toStandardOutput;
    // The options have made sure of the format or the suffix.
    const char *format = !job.options.format.isEmpty() ? (job.options.format == u"bmp" ? "bmp" : "png")
        : named                                        ? pictureFormatOf(output)->format
                                                       : "png";
    const QDateTime taken = QDateTime::currentDateTime();
    // A file that cannot be written costs no download. A name given is
    // said as given; a default one, in the working folder, whole.
    const QString target = toStandardOutput ? QStringLiteral("standard output")
        : named                             ? QDir(job.options.startFolder).absoluteFilePath(output)
                                            : QDir::current().absoluteFilePath(defaultName(taken, 1, format));
    const std::optional<files::FileError> unwritable = toStandardOutput
        ? (job.out.failed() ? std::optional(files::FileError{target, job.out.reason()}) : std::nullopt)
        : files::checkWritable(target);
    if (unwritable) {
        job.notifier.warn(messages::kPictureNotWritten, unwritable->file, unwritable->reason);
        return kFailed;
    }

    picture::Canvas canvas;
    picture::DownloadCycle cycle(job.link, job.notifier, canvas, job.graticuleFolders);
    // Not the window's Windows path: where this job looked.
    cycle.onGraticuleMissing([&job](const QString &file) {
        job.err << "orvanta capture: no graticule " << file << " in " << job.graticuleFolders.join(" or ")
                << "; the picture has none" << Qt::endl;
    });
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

    if (toStandardOutput) {
        if (job.out.write(picture::encodePicture(canvas.image(), format)))
            return kDone;
        job.notifier.warn(messages::kPictureNotWritten, target, job.out.reason());
        return kFailed;
    }
    // A name given replaces its file, as cp does; a default name never does:
    // two captures in one millisecond get one each.
    QString written = target;
    std::optional<files::FileError> error = picture::savePicture(
        canvas.image(), written, format, named ? files::Existing::Replace : files::Existing::Keep);
    for (int count = 2; error && !named && QFileInfo::exists(written) && count < 1000; ++count) {
        written = QDir::current().absoluteFilePath(defaultName(taken, count, format));
        error = picture::savePicture(canvas.image(), written, format, files::Existing::Keep);
    }
    if (error) {
        job.notifier.warn(messages::kPictureNotWritten, error->file, error->reason);
        return kFailed;
    }
    job.out.write((named ? output : written).toUtf8() + '\n');
    return kDone;
}

} // namespace orvanta::jobs
