// Draws the twelve graticule files and writes them into a folder:
//   graticule-gen data/graticules
// Each file is read back and compared with its drawing before it is written.
#include "graticule_canvas.h"
#include "graticule_codec.h"
#include "graticule_drawing.h"

#include "screen_layout.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using namespace orvanta;
namespace layout = sim::layout;
using tools::Viewing;

enum class Mode { waveform, vector, combination };

struct GraticuleFile
{
    const char *name;
    const layout::Standard *standard;
    Mode mode;
    Viewing viewing;
};

constexpr GraticuleFile kFiles[] = {
    {"pal_wfma.rle", &layout::kPal, Mode::waveform, Viewing::analogue},
    {"ntsc_wfma.rle", &layout::kNtsc, Mode::waveform, Viewing::analogue},
    {"pal_veca.rle", &layout::kPal, Mode::vector, Viewing::analogue},
    {"ntsc_veca.rle", &layout::kNtsc, Mode::vector, Viewing::analogue},
    {"pal_coma.rle", &layout::kPal, Mode::combination, Viewing::analogue},
    {"ntsc_coma.rle", &layout::kNtsc, Mode::combination, Viewing::analogue},
    {"pal_wfmd.rle", &layout::kPal, Mode::waveform, Viewing::digital},
    {"ntsc_wfmd.rle", &layout::kNtsc, Mode::waveform, Viewing::digital},
    {"pal_vecd.rle", &layout::kPal, Mode::vector, Viewing::digital},
    {"ntsc_vecd.rle", &layout::kNtsc, Mode::vector, Viewing::digital},
    {"pal_comd.rle", &layout::kPal, Mode::combination, Viewing::digital},
    {"ntsc_comd.rle", &layout::kNtsc, Mode::combination, Viewing::digital},
};

tools::GraticuleCanvas draw(const GraticuleFile &file)
{
    tools::GraticuleCanvas canvas;
    switch (file.mode) {
    case Mode::waveform: tools::drawWaveformScale(canvas, *file.standard, layout::kFullWaveform, file.viewing); break;
    case Mode::vector: tools::drawVectorScale(canvas, *file.standard, layout::kFullVector, file.viewing); break;
    case Mode::combination:
        tools::drawWaveformScale(canvas, *file.standard, layout::kHalfWaveform, file.viewing);
        tools::drawVectorScale(canvas, *file.standard, layout::kHalfVector, file.viewing);
        break;
    }
    return canvas;
}

bool writeFile(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: graticule-gen FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const GraticuleFile &file : kFiles) {
        const tools::GraticuleCanvas canvas = draw(file);
        // The file's first row paints canvas row 3, its last the row below the picture.
        const int firstRow = layout::kFirstPictureRow + 1;
        const int rowCount = layout::pictureRows(*file.standard);
        const std::vector<std::uint8_t> bytes = encodeGraticule(canvas, firstRow, firstRow + rowCount);

        // Read back: the whole drawing must come back, so nothing lay outside the rows.
        tools::GraticuleCanvas back;
        if (const auto fault = decodeGraticule(bytes, firstRow, rowCount, back)) {
            std::fprintf(stderr, "graticule-gen: %s: %s\n", file.name, fault->c_str());
            return 1;
        }
        if (!(back == canvas)) {
            std::fprintf(stderr, "graticule-gen: %s does not read back as drawn\n", file.name);
            return 1;
        }
        const std::string path = folder + "/" + file.name;
        if (!writeFile(path, bytes)) {
            std::fprintf(stderr, "graticule-gen: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %d rows, %zu bytes\n", file.name, rowCount, bytes.size());
    }
    return 0;
}
