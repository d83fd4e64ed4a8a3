// Any status block and any picture stream, cut into any block sizes, with a
// graticule that runs out and a stop at any block: the decoder never writes
// off the canvas, never loops without end, and ends once the stream has
// carried its rows.
#include "link/status_block.h"
#include "picture/canvas.h"
#include "picture/graticule_file.h"
#include "picture/picture_decoder.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

using namespace orvanta::picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr size_t kHeader = 16 + 2; // status block, block size, stop block
    if (size < kHeader)
        return 0;
    const orvanta::link::StatusBlock status(QByteArray(reinterpret_cast<const char *>(data), 16));
    // Reads of 1 to 256 bytes: short ones never happen on the line, long ones do.
    const int blockSize = 1 + data[16];
    const int stopBlock = data[17];

    static Canvas canvas;
    GraticuleFile graticule;
    auto rows = std::make_unique<QBuffer>();
    rows->setData(QByteArray::fromHex("04100a00"
                                      "0e00"
                                      "0b00"));
    rows->open(QIODevice::ReadOnly);
    graticule.open(std::move(rows));

    PictureDecoder decoder(canvas);
    decoder.start(status, &graticule);
    const QByteArrayView stream(reinterpret_cast<const char *>(data + kHeader), qsizetype(size - kHeader));
    int block = 0;
    for (qsizetype at = 0; at < stream.size() && !decoder.finished(); at += blockSize, ++block) {
        if (block == stopBlock)
            decoder.stop();
        decoder.feed(stream.sliced(at, std::min<qsizetype>(blockSize, stream.size() - at)));
        if (decoder.pictureRow() > PictureDecoder::kStopRow + 2)
            std::abort();
    }
    return 0;
}
