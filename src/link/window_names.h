#pragma once

#include <QStringView>

#include <array>

// The program's windows other than the main window, by the names the menus,
// start-up and the windows themselves use.
namespace orvanta::link::windows {

inline constexpr QStringView kPicture = u"frmUpload";
inline constexpr QStringView kHelp = u"frmHelp";
inline constexpr QStringView kLogger = u"frmLogger";
inline constexpr QStringView kAbout = u"frmAbout";
inline constexpr QStringView kFiles = u"frmFiles";

// The order start-up loads them in.
inline constexpr std::array<QStringView, 5> kLoadOrder{kPicture, kHelp, kLogger, kAbout, kFiles};

} // namespace orvanta::link::windows
