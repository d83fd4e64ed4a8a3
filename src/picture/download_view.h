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
    // Canvas rows first to last have changed; by default the whole canvas is shown again.
    virtual void rowsChanged(int first, int last)
    {
        (void)first;
        (void)last;
        pictureChanged();
    }
};

} // namespace orvanta::picture
