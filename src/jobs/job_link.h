#pragma once

#include "jobs/job_options.h"

#include <QString>

#include <optional>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::link {
class PortMap;
} // namespace orvanta::link

namespace orvanta::jobs {

// The port number and settings string a job opens the link with.
struct LinkChoice
{
    int port = 1;
    QString settings;
};

// From the options and, for what they leave open, orva.set in the working
// folder, read as the window reads it at start-up but never created. The
// options' devices go into map. Nothing, said through the notifier, when
// orva.set is needed and cannot be read.
std::optional<LinkChoice> chooseLink(const JobOptions &options, link::PortMap &map, messages::Notifier &notifier);

} // namespace orvanta::jobs
