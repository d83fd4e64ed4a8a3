#pragma once

#include "support/recording_notifier.h"

// The message boxes as the user must see them, text and title, typed here
// apart from the program's own table so that a misspelt message fails.
namespace orvanta::test::shown {

using Message = RecordingNotifier::Message;

inline const Message kSerialPort{"Can't communicate with Orvanta", "Serial Port Error"};
inline const Message kSettingsFile{"Can't find orva.set", "Can't Find Settings File"};
inline const Message kStatusTimeout{
    "Check connection from Serial port to Orvanta & Orvanta power", "Can't Communicate with Orvanta"};
inline const Message kStatusLinkFailure{"Check connection from Serial port to Orvanta, Check Baud Rate and "
                                        "Portnumber(Special-Setup) Then restart program",
    "Can't Communicate with Orvanta"};
inline const Message kMenuUpdateFailure{"Can't update menus", "Can't Communicate with Orvanta"};
inline const Message kPanelUpdateFailure{"Check conection from Serial port to Orvanta, Check Baud Rate and "
                                         "Portnumber (Special-Setup) Then restart program",
    "Can't Communicate with Orvanta"};
inline const Message kHelpFile{"Can't find orva.hlp", " Can't find Orvanta Help File"};
inline const Message kGraticulesMissing{"Can't find graticules\\*.RLE", " Can't find the Graticule files"};
inline const Message kGraticuleShort{
    "The graticule file ended early: part of the picture has no graticule", "Graticule File Error"};
inline const Message kSmallBoxes{"Can't download Small Boxes", "Brellin Orvanta 5.x"};
inline const Message kDownloadFailed{"Can't Download picture", "Orvanta Serial Error"};
inline const Message kReadLogFailed{"Can't read All_logs", "Orvanta Serial Error"};
inline const Message kMonitoringFailed{"Logger Memory Full", "Orvanta Error"};

} // namespace orvanta::test::shown
