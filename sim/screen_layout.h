#pragma once

#include <array>
#include <cmath>

// Where things sit on the instrument's screen, in the client's canvas units (512
// columns; picture rows from 2, graticule rows from 3). The simulator draws its traces
// by these numbers and the graticule generator draws its scales by them, so a trace
// lands on its own graticule.
namespace orvanta::sim::layout {

inline constexpr int kCanvasColumns = 512;
inline constexpr int kFirstPictureRow = 2;
inline constexpr int kBytesPerRow = 128;
// Byte column k carries canvas columns 4(k - 1) .. 4(k - 1) + 3: column 0 is off the
// canvas, and canvas columns 508 to 511 get no picture pixels.
inline constexpr int kPictureColumns = 4 * (kBytesPerRow - 1);

struct Standard
{
    int lastRow;         // picture rows 2 .. lastRow - 1, graticule rows 3 .. lastRow
    int zeroRow;         // waveform black level (0 %)
    int fullRow;         // waveform white level (100 %)
    int vectorCentreRow; // vector display centre
};

inline constexpr Standard kPal{.lastRow = 510, .zeroRow = 430, .fullRow = 80, .vectorCentreRow = 256};
inline constexpr Standard kNtsc{.lastRow = 430, .zeroRow = 360, .fullRow = 60, .vectorCentreRow = 216};

constexpr int pictureRows(const Standard &standard)
{
    return standard.lastRow - kFirstPictureRow;
}

// The canvas row of a level given as a fraction of black (0) to white (1).
constexpr double levelRow(const Standard &standard, double level)
{
    return standard.zeroRow - level * (standard.zeroRow - standard.fullRow);
}

// Columns [left, right) of the waveform area.
struct WaveformArea
{
    int left;
    int right;
};

// Centre column and the circle's radius of the vector display.
struct VectorArea
{
    int centreColumn;
    int radius;
};

// The full screen in one mode; in combination, waveform left and vector right.
inline constexpr WaveformArea kFullWaveform{.left = 16, .right = 496};
inline constexpr VectorArea kFullVector{.centreColumn = 256, .radius = 200};
inline constexpr WaveformArea kHalfWaveform{.left = 8, .right = 248};
inline constexpr VectorArea kHalfVector{.centreColumn = 384, .radius = 112};

// The 75 % colour bars, left to right: white, yellow, cyan, green, magenta, red, blue, black.
struct Bar
{
    double red;
    double green;
    double blue;

    constexpr double luma() const { return 0.299 * red + 0.587 * green + 0.114 * blue; }
};

inline constexpr std::array<Bar, 8> kBars{{
    {0.75, 0.75, 0.75},
    {0.75, 0.75, 0.0},
    {0.0, 0.75, 0.75},
    {0.0, 0.75, 0.0},
    {0.75, 0.0, 0.75},
    {0.75, 0.0, 0.0},
    {0.0, 0.0, 0.75},
    {0.0, 0.0, 0.0},
}};

// Colour difference axes: analogue viewing shows U and V, digital viewing Cb and Cr.
// fullScale is the colour difference that reaches the circle.
struct ChromaAxes
{
    double blueWeight;
    double redWeight;
    double fullScale;
};

inline constexpr ChromaAxes kAnalogueAxes{.blueWeight = 0.492, .redWeight = 0.877, .fullScale = 0.65};
inline constexpr ChromaAxes kDigitalAxes{.blueWeight = 0.564, .redWeight = 0.713, .fullScale = 0.55};

// With --live, a short bar steps along the top of the picture with each transfer, so
// one picture can be told from the next: byte-aligned columns [column, column + width)
// of rows [top, top + height) at full brightness, for transfer n (counted from 0) at
// liveMarkerColumn(n). The top rows hold no trace in any display.
inline constexpr int kLiveMarkerTop = 8;
inline constexpr int kLiveMarkerHeight = 8;
inline constexpr int kLiveMarkerWidth = 4;
inline constexpr int kLiveMarkerSteps = 120;

constexpr int liveMarkerColumn(unsigned long transfer)
{
    return 8 + kLiveMarkerWidth * static_cast<int>(transfer % kLiveMarkerSteps);
}

struct Point
{
    int column;
    int row;
};

// Where a colour lands on the vector display.
inline Point vectorPoint(
    const Bar &bar, const ChromaAxes &axes, const VectorArea &area, const Standard &standard, double saturation = 1.0)
{
    const double scale = area.radius / axes.fullScale * saturation;
    const double u = axes.blueWeight * (bar.blue - bar.luma());
    const double v = axes.redWeight * (bar.red - bar.luma());
    return {static_cast<int>(std::lround(area.centreColumn + u * scale)),
        static_cast<int>(std::lround(standard.vectorCentreRow - v * scale))};
}

} // namespace orvanta::sim::layout
