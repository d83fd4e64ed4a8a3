#include "panel/window_slot.h"

namespace orvanta::panel {

WindowSlot::WindowSlot(QString name, Factory factory)
    : name_(std::move(name))
    , factory_(std::move(factory))
{ }

WindowSlot::~WindowSlot()
{
    delete form_.data();
}

bool WindowSlot::load()
{
    if (form_)
        return true;
    QWidget *form = factory_ ? factory_() : nullptr;
    if (!form)
        return false;
    if (form->objectName() != name_)
        qFatal("the window made for \"%s\" is named \"%s\"", qPrintable(name_), qPrintable(form->objectName()));
    // The close box unloads. A window whose own wait loop may be running
    // when its close box is used must keep itself alive until that loop has
    // unwound: the deferred delete runs in the loop's next pass.
    form->setAttribute(Qt::WA_DeleteOnClose);
    form_ = form;
    return true;
}

bool WindowSlot::show()
{
    if (!load())
        return false;
    form_->show();
    form_->raise();
    form_->activateWindow();
    return true;
}

void WindowSlot::hide()
{
    if (form_)
        form_->hide();
}

} // namespace orvanta::panel
