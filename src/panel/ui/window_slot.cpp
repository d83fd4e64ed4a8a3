#include "panel/ui/window_slot.h"

namespace orvanta::panel {

WindowSlot::WindowSlot(QString name, Factory factory)
    : name_(std::move(name))
    , factory_(std::move(factory))
{ }

WindowSlot::~WindowSlot()
{
    delete window_.data();
}

bool WindowSlot::load()
{
    if (window_)
        return true;
    QWidget *window = factory_ ? factory_() : nullptr;
    if (!window)
        return false;
    if (window->objectName() != name_)
        qFatal("the window made for \"%s\" is named \"%s\"", qPrintable(name_), qPrintable(window->objectName()));
    // The close box unloads. A window whose own wait loop may be running
    // when its close box is used must keep itself alive until that loop has
    // unwound: the deferred delete runs in the loop's next pass.
    window->setAttribute(Qt::WA_DeleteOnClose);
    window_ = window;
    return true;
}

bool WindowSlot::show()
{
    if (!load())
        return false;
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void WindowSlot::hide()
{
    if (window_)
        window_->hide();
}

} // namespace orvanta::panel
