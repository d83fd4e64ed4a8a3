#pragma once

#include <QJsonObject>
#include <QStringView>

namespace orvanta::jobs {

// One line of LogText as a machine reads it. A record under the heading's
// columns: "event": "record", "type", "timeOfDay" (HH:MM:SS, the
// instrument's clock), "source" and "text", the record as it came. One of
// the log's own lines: "event": "end", "timeout" or "finished". Anything
// else: "event": "unparsed" and its "text".
QJsonObject logLineFields(QStringView line);

} // namespace orvanta::jobs
