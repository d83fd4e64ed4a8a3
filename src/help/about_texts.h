#pragma once

#include <QStringView>

namespace orvanta::help::about {

// The About box's captions. The version and copyright captions are set anew
// on every opening; the maker's name and tagline are fixed.
inline constexpr QStringView kMaker = u"Orvanta remote panel";
inline constexpr QStringView kTagline = u"Remote front panel, error logger and screen pictures for the Orvanta";
inline constexpr QStringView kVersion = u"Version 6.1 for Windows.\r\n"
                                        u"Copyright (c) 2026 the Orvanta remote panel authors.\r\n"
                                        u"Released under the MIT licence.";
inline constexpr QStringView kCopyright
    = u"This program is free software under the MIT licence: you may use, copy, change and pass it on. "
      u"It comes without warranty of any kind.";

} // namespace orvanta::help::about
