#pragma once

#include "link/poll_switch.h"
#include "panel/arrow_repeat.h"
#include "panel/poll_cycle.h"
#include "panel/port_baud_choices.h"
#include "panel/settings_file.h"
#include "panel/ui/window_slot.h"
#include "panel/ui/window_status_target.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::panel {

class AlarmItems;
class CommandSender;
class MainWindow;

// The life of the main window: start-up, the port and baud items, shutdown.
class PanelController : public QObject, public link::PollSwitch
{
    Q_OBJECT

public:
    struct WindowEntry
    {
        QString name;
        WindowSlot::Factory factory;
    };
    using EndProgram = std::function<void()>;

    // windows: the other windows, in the order start-up loads them.
    PanelController(link::SerialLink &link, messages::Notifier &notifier, std::vector<WindowEntry> windows,
        EndProgram endProgram, QString settingsPath = SettingsFile::kFileName);
    ~PanelController() override;

    MainWindow &window() const { return *window_; }
    link::SerialLink &link() const { return link_; }
    const ArrowRepeat &arrowRepeat() const { return arrows_; }
    WindowSlot *otherWindow(const QString &name) const;

    // Start-up; false when it ended in the settings-file message.
    bool Form_Load();
    // "&Exit" and the close box: save, close the port, end at once.
    void Shutdown();

    const SavedSettings &saved() const { return saved_; }

    // Starts or stops the status poll as the event calls for.
    void pollEvent(link::PollEvent event) override;

private:
    void openWindow(const QString &name, std::optional<link::PollEvent> event);
    void choosePort(const PortChoice &choice);
    void chooseBaud(const BaudChoice &choice);
    void checkOnly(const auto &choices, std::string_view item);
    bool failStartUp();

    link::SerialLink &link_;
    messages::Notifier &notifier_;
    EndProgram endProgram_;
    SettingsFile settingsFile_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<CommandSender> commands_;
    ArrowRepeat arrows_;
    std::unique_ptr<AlarmItems> alarms_;
    WindowStatusTarget statusTarget_;
    PollCycle poll_;
    std::vector<std::unique_ptr<WindowSlot>> windows_;
    SavedSettings saved_;
    // Whether saved_ holds what the file said or what the user chose; if
    // neither, exit leaves the file alone rather than overwrite it with nothing.
    bool savedKnown_ = false;
    bool ended_ = false;
};

} // namespace orvanta::panel
