#pragma once

#include <QStringView>

namespace orvanta::link {

// A message box as the user sees it: fixed text and fixed title.
struct Message
{
    QStringView text;
    QStringView title;
};

// Every message of the program, in one place, exactly as shown.
namespace messages {

inline constexpr Message kSerialPort{u"Can't communicate with Orvanta", u"Serial Port Error"};
inline constexpr Message kSettingsFile{u"Can't find orva.set", u"Can't Find Settings File"};

} // namespace messages

} // namespace orvanta::link
