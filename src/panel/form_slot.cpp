#include "panel/form_slot.h"

namespace orvanta::panel {

FormSlot::FormSlot(QString name, Factory factory)
    : name_(std::move(name))
    , factory_(std::move(factory))
{
}

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
    // The close box unloads; deleteLater keeps a window whose own loop is
    // still running alive until that loop has unwound.
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
