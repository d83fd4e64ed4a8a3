#pragma once

#include <array>
#include <string_view>

// The program's windows other than the main window, by the names the menus,
// start-up and the windows themselves use.
namespace orvanta::ui::windows {

inline constexpr std::string_view kPicture = "frmUpload";
inline constexpr std::string_view kHelp = "frmHelp";
inline constexpr std::string_view kLogger = "frmLogger";
inline constexpr std::string_view kAbout = "frmAbout";
inline constexpr std::string_view kFiles = "frmFiles";

// The order start-up loads them in.
inline constexpr std::array<std::string_view, 5> kLoadOrder{kPicture, kHelp, kLogger, kAbout, kFiles};

} // namespace orvanta::ui::windows
