#include "app/ui/program.h"

#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "logger/ui/logger_window.h"
#include "panel/ui/main_window.h"
#include "picture/ui/files_window.h"
#include "picture/ui/picture_window.h"
#include "print/default_printer_target.h"
#include "ui/window_names.h"

namespace orvanta::app {

namespace {

// The picture window whose canvas the files window works on: the one there
// is now, or a fresh one, loaded hidden as start-up loads it.
picture::PictureSurface *pictureSurface(const Program &program)
{
    panel::WindowSlot *slot = program.panel().otherWindow(QString::fromLatin1(ui::windows::kPicture));
    if (!slot || !slot->load())
        return nullptr;
    return qobject_cast<picture::PictureWindow *>(slot->window());
}

void showFilesWindow(const Program &program)
{
    if (panel::WindowSlot *slot = program.panel().otherWindow(QString::fromLatin1(ui::windows::kFiles)))
        slot->show();
}

} // namespace

std::vector<panel::PanelController::WindowEntry> programWindows(const Program &program)
{
    // In the order start-up loads them; a window missing here stops the program at once.
    std::vector<panel::PanelController::WindowEntry> windows{
        {QString::fromLatin1(ui::windows::kPicture),
            [&program] {
                return new picture::PictureWindow(program.link(), program.notifier(), program.panel(),
                    program.printer(), [&program] { showFilesWindow(program); });
            }},
        {QString::fromLatin1(ui::windows::kHelp), [&program] { return new help::HelpWindow(program.notifier()); }},
        {QString::fromLatin1(ui::windows::kLogger),
            [&program] { return new logger::LoggerWindow(program.link(), program.panel(), program.printer()); }},
        {QString::fromLatin1(ui::windows::kAbout), [] { return new help::AboutWindow; }},
        {QString::fromLatin1(ui::windows::kFiles),
            [&program] {
                return new picture::FilesWindow(program.notifier(), [&program] { return pictureSurface(program); });
            }},
    };
    for (std::size_t i = 0; i < ui::windows::kLoadOrder.size(); ++i)
        if (i >= windows.size() || windows[i].name != QString::fromLatin1(ui::windows::kLoadOrder[i]))
            qFatal("the program's windows are not the ones start-up loads");
    return windows;
}

Program::Program(link::PortMap portMap, std::unique_ptr<messages::Notifier> notifier,
    panel::PanelController::EndProgram endProgram, QString settingsPath, std::unique_ptr<print::PrinterTarget> printer)
    : notifier_(std::move(notifier))
    , printer_(printer ? std::move(printer) : std::make_unique<print::DefaultPrinterTarget>())
    , link_(std::make_unique<link::SerialLink>(std::move(portMap), *notifier_))
    , panel_(std::make_unique<panel::PanelController>(
          *link_, *notifier_, programWindows(*this), std::move(endProgram), std::move(settingsPath)))
{ }

Program::~Program() = default;

void Program::start()
{
    panel_->Form_Load();
    panel_->window().show();
}

} // namespace orvanta::app
