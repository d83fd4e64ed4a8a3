#include "app/program.h"

#include "help/about_window.h"
#include "help/help_window.h"
#include "logger/logger_window.h"
#include "panel/main_window.h"
#include "picture/files_window.h"
#include "picture/picture_window.h"

namespace orvanta::app {

namespace {

// The picture window whose canvas the files window works on: the one there
// is now, or a fresh one, loaded hidden as start-up loads it.
picture::PictureSurface *pictureSurface(const Program &program)
{
    panel::WindowSlot *slot = program.panel().form(QStringLiteral("frmUpload"));
    if (!slot || !slot->load())
        return nullptr;
    return qobject_cast<picture::PictureWindow *>(slot->form());
}

void showFilesWindow(const Program &program)
{
    if (panel::WindowSlot *slot = program.panel().form(QStringLiteral("frmFiles")))
        slot->show();
}

} // namespace

std::vector<panel::PanelController::FormEntry> programForms(const Program &program)
{
    return {
        {QStringLiteral("frmUpload"),
            [&program] {
                return new picture::PictureWindow(
                    program.link(), program.notifier(), program.panel(), [&program] { showFilesWindow(program); });
            }},
        {QStringLiteral("frmHelp"), [&program] { return new help::HelpWindow(program.notifier()); }},
        {QStringLiteral("frmLogger"), [] { return new logger::LoggerWindow; }},
        {QStringLiteral("frmAbout"), [] { return new help::AboutWindow; }},
        {QStringLiteral("frmFiles"),
            [&program] {
                return new picture::FilesWindow(program.notifier(), [&program] { return pictureSurface(program); });
            }},
    };
}

Program::Program(link::PortMap portMap, std::unique_ptr<link::Notifier> notifier,
    panel::PanelController::EndProgram endProgram, QString settingsPath)
    : notifier_(std::move(notifier))
    , link_(std::make_unique<link::SerialLink>(std::move(portMap), *notifier_))
    , panel_(std::make_unique<panel::PanelController>(
          *link_, *notifier_, programForms(*this), std::move(endProgram), std::move(settingsPath)))
{ }

Program::~Program() = default;

void Program::start()
{
    panel_->Form_Load();
    panel_->window().show();
}

} // namespace orvanta::app
