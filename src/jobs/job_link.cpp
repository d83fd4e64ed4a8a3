#include "jobs/job_link.h"

#include "link/port_map.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "panel/port_baud_choices.h"
#include "panel/settings_file.h"

#include <algorithm>

namespace orvanta::jobs {

namespace {

// --device PATH stands in for this port number; the command line wins in the map.
constexpr int kDevicePort = 1;

QString settingsFor(int baud)
{
    const panel::BaudChoice *choice = panel::baudChoiceWithRate(baud);
    return choice ? QString::fromLatin1(choice->settings) : QString();
}

} // namespace

std::optional<LinkChoice> chooseLink(const JobOptions &options, link::PortMap &map, messages::Notifier &notifier)
{
    for (const link::PortMap::Assignment &device : options.devices)
        map.setDevice(device.port, device.path);

    panel::SavedSettings saved;
    const bool needSaved = !options.baud || (!options.port && options.device.isEmpty());
    if (needSaved) {
        const auto read = panel::SettingsFile().readWithoutCreating();
        if (!read) {
            notifier.warn(messages::kSettingsFile);
            return std::nullopt;
        }
        saved = *read;
    }

    LinkChoice choice;
    if (!options.device.isEmpty()) {
        choice.port = kDevicePort;
        map.setDevice(kDevicePort, options.device);
    } else {
        choice.port = options.port.value_or(panel::portChoiceFor(saved.port).port);
    }
    choice.settings
        = options.baud ? settingsFor(*options.baud) : QString::fromLatin1(panel::baudChoiceFor(saved.baud).settings);
    return choice;
}

} // namespace orvanta::jobs
