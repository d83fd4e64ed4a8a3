#include "app/program.h"

#include "help/about_window.h"
#include "help/help_window.h"
#include "link/window_names.h"
#include "logger/logger_window.h"
#include "panel/main_window.h"
#include "picture/files_window.h"
#include "picture/picture_window.h"
#include "print/default_printer_target.h"

namespace orvanta::app {

namespace {

// The picture window whose canvas the files window works on: the one there
// is now, or a fresh one, loaded hidden as start-up loads it.
picture::PictureSurface *pictureSurface(const Program &program)
{
    panel::WindowSlot *slot = program.panel().form(link::windows::kPicture.toString());
    if (!slot || !slot->load())
        return nullptr;
    return qobject_cast<picture::PictureWindow *>(slot->form());
}

void showFilesWindow(const Program &program)
{
    if (panel::WindowSlot *slot = program.panel().form(link::windows::kFiles.toString()))
        slot->show();
}

} // namespace

std::vector<panel::PanelController::FormEntry> programForms(const Program &program)
{
    // In the order start-up loads them; a window missing here stops the program at once.
    std::vector<panel::PanelController::FormEntry> forms{
        {link::windows::kPicture.toString(),
            [&program] {
                return new picture::PictureWindow(program.link(), program.notifier(), program.panel(),
                    program.printer(), [&program] { showFilesWindow(program); });
            }},
        {link::windows::kHelp.toString(), [&program] { return new help::HelpWindow(program.notifier()); }},
        {link::windows::kLogger.toString(), [] { return new logger::LoggerWindow; }},
        {link::windows::kAbout.toString(), [] { return new help::AboutWindow; }},
        {link::windows::kFiles.toString(),
            [&program] {
                return new picture::FilesWindow(program.notifier(), [&program] { return pictureSurface(program); });
            }},
    };
    for (std::size_t i = 0; i < link::windows::kLoadOrder.size(); ++i)
        if (i >= forms.size() || forms[i].name != link::windows::kLoadOrder[i])
            qFatal("the program's windows are not the ones start-up loads");
    return forms;
}

Program::Program(link::PortMap portMap, std::unique_ptr<link::Notifier> notifier,
    panel::PanelController::EndProgram endProgram, QString settingsPath, std::unique_ptr<print::PrinterTarget> printer)
    : notifier_(std::move(notifier))
    , printer_(printer ? std::move(printer) : std::make_unique<print::DefaultPrinterTarget>())
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
