// Any bytes as a graticule file: rows paint only black and green, whole runs
// from column 0, and reading ends once the file runs out.
#include "picture/canvas.h"
#include "picture/graticule_file.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

using namespace orvanta::picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Canvas canvas;
    constexpr PaletteIndex kUntouched = 5;
    const QRgb untouched = palette::rgb(kUntouched);

    GraticuleFile file;
    auto device = std::make_unique<QBuffer>();
    device->setData(reinterpret_cast<const char *>(data), qsizetype(size));
    device->open(QIODevice::ReadOnly);
    file.open(std::move(device));

    // Every row takes at least two bytes, so the file ends within size / 2 + 1 rows.
    canvas.fillRows(0, int(std::min<size_t>(size / 2 + 1, Canvas::kSize - 1)), kUntouched);
    int rows = 0;
    while (file.DrawGratLine(canvas, rows % Canvas::kSize + 1)) {
        if (++rows > int(size / 2))
            std::abort();
    }
    if (!file.exhausted() || file.DrawGratLine(canvas, 0))
        std::abort();

    // A row's painted columns are one stretch from column 0, black and green only.
    const int lastRow = std::min(rows + 1, Canvas::kSize - 1);
    for (int row = 0; row <= lastRow; ++row) {
        const QRgb *line = reinterpret_cast<const QRgb *>(canvas.image().constScanLine(row));
        bool painted = row != 0;
        for (int column = 0; column < Canvas::kSize; ++column) {
            if (line[column] == untouched)
                painted = false;
            else if (!painted
                || (line[column] != palette::rgb(palette::kBlack) && line[column] != palette::rgb(palette::kGreen)))
                std::abort();
        }
    }
    return 0;
}
