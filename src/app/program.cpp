#include "app/program.h"

#include "help/about_window.h"
#include "help/help_window.h"
#include "logger/logger_window.h"
#include "panel/main_window.h"
#include "picture/files_window.h"
#include "picture/picture_window.h"

namespace orvanta::app {

std::vector<panel::PanelController::FormEntry> programForms(const Program &program)
{
    return {
        {QStringLiteral("frmUpload"),
            [&program] { return new picture::PictureWindow(program.link(), program.notifier(), program.panel()); }},
        {QStringLiteral("frmHelp"), [&program] { return new help::HelpWindow(program.notifier()); }},
        {QStringLiteral("frmLogger"), [&program] { return new logger::LoggerWindow(program.link(), program.panel()); }},
        {QStringLiteral("frmAbout"), [] { return new help::AboutWindow; }},
        {QStringLiteral("frmFiles"), [] { return new picture::FilesWindow; }},
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
