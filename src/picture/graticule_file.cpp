#include "picture/graticule_file.h"

#include "files/regular_file.h"
#include "picture/canvas.h"

#include <QFile>

#include <algorithm>

namespace orvanta::picture {

GraticuleFile::GraticuleFile() = default;
GraticuleFile::~GraticuleFile() = default;

bool GraticuleFile::open(const QString &path)
{
    // ReadOnly never creates a missing file.
    auto file = std::make_unique<QFile>(path);
    if (!files::openRegularFile(*file, QIODevice::ReadOnly))
        return false;
    return open(std::move(file));
}

bool GraticuleFile::open(std::unique_ptr<QIODevice> device)
{
    close();
    if (!device || !device->isOpen() || !device->isReadable())
        return false;
    file_ = std::move(device);
    bytes_ = file_->readAll();
    next_ = 0;
    exhausted_ = false;
    return true;
}

void GraticuleFile::close()
{
    if (file_)
        file_->close();
    file_.reset();
    bytes_.clear();
    next_ = 0;
    // A cycle that opens no file must not hear of the last one's shortage.
    exhausted_ = false;
}

bool GraticuleFile::isOpen() const
{
    return file_ != nullptr;
}

bool GraticuleFile::readRecord()
{
    if (bytes_.size() - next_ < 2) {
        exhausted_ = true;
        return false;
    }
    GratFlags = static_cast<std::uint8_t>(bytes_[next_]);
    GratLength = static_cast<std::uint8_t>(bytes_[next_ + 1]);
    next_ += 2;
    return true;
}

bool GraticuleFile::DrawGratLine(Canvas &canvas, int row)
{
    if (!file_ || exhausted_)
        return false;
    GratRunStart = 0;
    GratRunEnd = 0;
    do {
        if (!readRecord())
            return false;
        int length = GratLength;
        if (GratFlags & kAdd256)
            length += 256;
        if (GratFlags & kAdd512)
            length += 512;
        // Nothing right of the canvas is painted; capping the end there keeps
        // a row of endless records from overflowing.
        GratRunEnd = std::min(GratRunEnd + length, Canvas::kSize);
        const PaletteIndex colour = (GratFlags & kGreenRun) ? palette::kGreen : palette::kBlack;
        canvas.fillRow(row, GratRunStart, GratRunEnd, colour);
        GratRunStart = GratRunEnd;
    } while (!(GratFlags & kLastOfRow));
    return true;
}

} // namespace orvanta::picture
