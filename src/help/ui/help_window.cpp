#include "help/ui/help_window.h"

#include "messages/messages.h"
#include "messages/notifier.h"
#include "ui/window_names.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orvanta::help {

HelpWindow::HelpWindow(messages::Notifier &notifier, const QString &path, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , txtHelp_(new QPlainTextEdit(this))
{
    setObjectName(QString::fromLatin1(ui::windows::kHelp));
    setWindowTitle(QStringLiteral("HELP"));
    resize(680, 520);

    txtHelp_->setObjectName(QStringLiteral("txtHelp"));
    txtHelp_->setReadOnly(true);
    txtHelp_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The help file lines up its tables with blanks.
    txtHelp_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A plain-text view lays out only what is on screen, so a long file costs
    // a moment at start-up, not seconds; it needs no undo history either.
    txtHelp_->setUndoRedoEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtHelp_);

    // The message comes while the window is being made: at start-up that is
    // before the main window shows. The window then stays, empty.
    if (std::optional<QString> text = readHelpFile(path)) {
        helpText_ = std::move(*text);
        txtHelp_->setPlainText(textForView(helpText_));
    } else {
        notifier.warn(messages::kHelpFile);
    }
}

} // namespace orvanta::help
