#pragma once

namespace orvanta::picture {

class Canvas;

// What the files window needs of the picture window: its canvas, to store it
// or to put a stored picture on it.
class PictureSurface
{
public:
    virtual Canvas &canvas() = 0;
    // The canvas was replaced as a whole: show it.
    virtual void canvasReplaced() = 0;

protected:
    ~PictureSurface() = default;
};

} // namespace orvanta::picture
