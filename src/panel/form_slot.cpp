#include "panel/form_slot.h"

namespace orvanta::panel {

FormSlot::FormSlot(QString name, Factory factory)
    : name_(std::move(name))
    , factory_(std::move(factory))
{ }

FormSlot::~FormSlot()
{
    delete form_.data();
}

bool FormSlot::load()
{
    if (form_)
        return true;
    QWidget *form = factory_ ? factory_() : nullptr;
    if (!form)
        return false;
    // The close box unloads. A window whose own wait loop may be running
    // when its close box is used must keep itself alive until that loop has
    // unwound: the deferred delete runs in the loop's next pass.
    form->setAttribute(Qt::WA_DeleteOnClose);
    form_ = form;
    return true;
}

bool FormSlot::show()
{
    if (!load())
        return false;
    form_->show();
    form_->raise();
    form_->activateWindow();
    return true;
}

void FormSlot::hide()
{
    if (form_)
        form_->hide();
}

} // namespace orvanta::panel
