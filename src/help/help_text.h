#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace orvanta::help {

// The help file's bare name: it is looked for in the working directory.
inline constexpr QStringView kHelpFileName = u"orva.hlp";

// The help text as shown: every line of the file followed by CR LF, so the
// text ends with CR LF also when the file's last line has none. CR LF, LF and
// a lone CR all end a line; each byte is one Latin-1 character.
QString helpTextFromBytes(QByteArrayView bytes);

// The view lays a line out in one piece, in time that grows faster than the
// line's length: a file of megabyte-long lines would freeze the window for
// minutes. The help text is shown with lines longer than this broken, after
// their last blank where there is one.
inline constexpr qsizetype kLongestShownLine = 4096;
QString textForView(const QString &helpText);

// Reads the help file whole; nothing when it is missing, not a plain file
// (a folder, a pipe, a device) or cannot be read.
std::optional<QString> readHelpFile(const QString &path);

} // namespace orvanta::help
