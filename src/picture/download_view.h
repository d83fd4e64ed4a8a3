#pragma once

namespace orvanta::picture {

// What a download shows while it runs: the picture window its busy pointer
// and the picture repainted as rows arrive. A job without a window shows
// nothing, and this is all it takes.
class DownloadView
{
public:
    virtual ~DownloadView() = default;

    virtual void setBusy(bool) { }
    // The canvas has changed: show it.
    virtual void pictureChanged() { }
};

} // namespace orvanta::picture
