#include "panel/ui/panel_controller.h"

#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "panel/ui/alarm_items.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/command_sender.h"
#include "panel/ui/main_window.h"
#include "panel/ui/menu_item.h"
#include "ui/window_names.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>

namespace orvanta::panel {

namespace {

// Menu items that show another window, and what that does to the poll.
struct WindowItem
{
    std::string_view item;
    std::string_view window;
    std::optional<link::PollEvent> event;
};

constexpr WindowItem kWindowItems[] = {
    {.item = "mnu_Logger", .window = ui::windows::kLogger, .event = link::PollEvent::LoggerOpened},
    {.item = "mnuUpload", .window = ui::windows::kPicture, .event = link::PollEvent::PictureWindowOpened},
    {.item = "mnuHelpContents", .window = ui::windows::kHelp, .event = std::nullopt},
    {.item = "mnuAbout", .window = ui::windows::kAbout, .event = std::nullopt},
};

} // namespace

PanelController::PanelController(link::SerialLink &link, messages::Notifier &notifier, std::vector<WindowEntry> windows,
    EndProgram endProgram, QString settingsPath)
    : link_(link)
    , notifier_(notifier)
    , endProgram_(std::move(endProgram))
    , settingsFile_(std::move(settingsPath))
    , window_(std::make_unique<MainWindow>())
    , commands_(std::make_unique<CommandSender>(*window_, link))
    , arrows_(link)
    , alarms_(std::make_unique<AlarmItems>(*window_, link))
    , statusTarget_(*window_)
    , poll_(link, statusTarget_, *this)
{
    for (WindowEntry &entry : windows)
        windows_.push_back(std::make_unique<WindowSlot>(entry.name, std::move(entry.factory)));

    for (const PortChoice &choice : kPortChoices)
        connect(window_->menuItem(QString::fromLatin1(choice.item)), &QAction::triggered, this,
            [this, &choice] { choosePort(choice); });
    for (const BaudChoice &choice : kBaudChoices)
        connect(window_->menuItem(QString::fromLatin1(choice.item)), &QAction::triggered, this,
            [this, &choice] { chooseBaud(choice); });
    for (const WindowItem &item : kWindowItems)
        connect(window_->menuItem(QString::fromLatin1(item.item)), &QAction::triggered, this,
            [this, &item] { openWindow(QString::fromLatin1(item.window), item.event); });
    connect(window_->menuItem(QStringLiteral("mnuExit")), &QAction::triggered, this, &PanelController::Shutdown);
    connect(window_.get(), &MainWindow::closeRequested, this, &PanelController::Shutdown);
    for (const ArrowRow &row : arrowTable()) {
        ArrowKey *key = window_->image(QString::fromLatin1(row.image));
        connect(key, &ArrowKey::mouseDown, this, [this, code = row.code] { arrows_.press(code); });
        connect(key, &ArrowKey::mouseUp, this, [this] { arrows_.release(); });
    }
    connect(window_->pollTimer(), &QTimer::timeout, this, [this] { poll_.Timer1_Timer(); });
}

PanelController::~PanelController() = default;

WindowSlot *PanelController::otherWindow(const QString &name) const
{
    for (const auto &slot : windows_)
        if (slot->name() == name)
            return slot.get();
    return nullptr;
}

bool PanelController::Form_Load()
{
    // The other windows first: their own load handling runs now, hidden.
    for (const auto &slot : windows_)
        if (!slot->load())
            return failStartUp();
    // Ended meanwhile, by a signal inside one of their messages.
    if (ended_)
        return false;

    const std::optional<SavedSettings> read = settingsFile_.read();
    if (!read)
        return failStartUp();
    saved_ = *read;
    savedKnown_ = true;

    const PortChoice &port = portChoiceFor(saved_.port);
    checkOnly(kPortChoices, {});
    link_.SetPortNumber(port.port);
    setItemChecked(window_->menuItem(QString::fromLatin1(port.item)), true);

    const BaudChoice &baud = baudChoiceFor(saved_.baud);
    checkOnly(kBaudChoices, {});
    if (!link_.SetPortSettings(QString::fromLatin1(baud.settings)))
        return failStartUp();
    setItemChecked(window_->menuItem(QString::fromLatin1(baud.item)), true);

    // The first poll comes one interval after start-up, not during it.
    pollEvent(link::PollEvent::MainWindowCreated);
    return true;
}

bool PanelController::failStartUp()
{
    notifier_.warn(messages::kSettingsFile);
    link_.ClosePort();
    pollEvent(link::PollEvent::StartUpFailed);
    link_.StopWaitTimer();
    return false;
}

void PanelController::pollEvent(link::PollEvent event)
{
    if (ended_)
        return;
    QTimer *poll = window_->pollTimer();
    if (!link::pollRunsAfter(event))
        poll->stop();
    else if (!poll->isActive())
        poll->start();
}

void PanelController::openWindow(const QString &name, std::optional<link::PollEvent> event)
{
    if (event)
        pollEvent(*event);
    if (WindowSlot *slot = otherWindow(name))
        slot->show();
}

void PanelController::checkOnly(const auto &choices, std::string_view item)
{
    for (const auto &choice : choices)
        setItemChecked(window_->menuItem(QString::fromLatin1(choice.item)), choice.item == item);
}

void PanelController::choosePort(const PortChoice &choice)
{
    // The open port's device may be the one that fell silent: closing it
    // lets the next request open the device chosen now.
    link_.ClosePort();
    link_.SetPortNumber(choice.port);
    checkOnly(kPortChoices, choice.item);
    saved_.port = choice.saved;
    savedKnown_ = true;
}

void PanelController::chooseBaud(const BaudChoice &choice)
{
    link_.SetPortSettings(QString::fromLatin1(choice.settings));
    checkOnly(kBaudChoices, choice.item);
    saved_.baud = choice.saved;
    savedKnown_ = true;
}

void PanelController::Shutdown()
{
    if (ended_)
        return;
    ended_ = true;
    QString reason;
    const bool saved = !savedKnown_ || settingsFile_.write(saved_, &reason);
    // Monitoring that runs still: the instrument is told to stop sending
    // errors while the port is open to tell it.
    if (link_.realtimeActive()) {
        link_.setRealtimeActive(false);
        if (link_.IsPortOpen())
            link_.WriteByte(link::codes::kEndRealtime);
    }
    link_.ClosePort();

    // Any wait still on the stack unwinds without a word; no window runs
    // close handling of its own.
    link_.endWaits();
    window_->pollTimer()->stop();
    if (!saved)
        notifier_.warn(messages::kSettingsNotSaved, QFileInfo(settingsFile_.path()).absoluteFilePath(), reason);
    notifier_.silence();
    for (const auto &slot : windows_)
        slot->hide();
    window_->hide();
    if (endProgram_)
        endProgram_();
}

} // namespace orvanta::panel
