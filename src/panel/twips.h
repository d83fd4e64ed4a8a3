#pragma once

#include <QRect>
#include <QtGlobal>

namespace orvanta::panel {

// The panel is laid out in twips, as designed; Qt places widgets in pixels.
inline constexpr int kTwipsPerInch = 1440;
// At this logical dpi one pixel is 15 twips and the panel has its designed size.
inline constexpr qreal kDesignDpi = 96.0;

// Left, top, width and height in twips.
struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

constexpr int twipsToPixels(int twips, qreal dpi = kDesignDpi)
{
    return qRound(twips * dpi / kTwipsPerInch);
}

constexpr QRect twipsToPixels(const TwipsRect &rect, qreal dpi = kDesignDpi)
{
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi), twipsToPixels(rect.width, dpi),
        twipsToPixels(rect.height, dpi)};
}

} // namespace orvanta::panel
