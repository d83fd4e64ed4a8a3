#pragma once

#include <QStringView>

namespace orvanta::messages {

// A message box as the user sees it: fixed text and fixed title.
struct Message
{
    QStringView text;
    QStringView title;
};

// Every message of the program, in one place, exactly as shown. %1 and %2
// are filled in where it is shown: the file, then the reason.

inline constexpr Message kSerialPort{u"Can't communicate with Orvanta", u"Serial Port Error"};
inline constexpr Message kSettingsFile{u"Can't find orva.set", u"Can't Find Settings File"};
inline constexpr Message kSettingsNotSaved{
    u"The port and baud rate could not be saved to %1: %2", u"Can't Save Settings File"};
inline constexpr Message kStatusTimeout{
    u"Check connection from Serial port to Orvanta & Orvanta power", u"Can't Communicate with Orvanta"};
inline constexpr Message kStatusLinkFailure{
    u"Check connection from Serial port to Orvanta, Check Baud Rate and Portnumber(Special-Setup) Then restart program",
    u"Can't Communicate with Orvanta"};
inline constexpr Message kMenuUpdateFailure{u"Can't update menus", u"Can't Communicate with Orvanta"};
inline constexpr Message kPanelUpdateFailure{
    u"Check conection from Serial port to Orvanta, Check Baud Rate and Portnumber (Special-Setup) Then restart program",
    u"Can't Communicate with Orvanta"};
inline constexpr Message kHelpFile{u"Can't find orva.hlp", u" Can't find Orvanta Help File"};
inline constexpr Message kGraticulesMissing{u"Can't find graticules\\*.RLE", u" Can't find the Graticule files"};
inline constexpr Message kGraticuleShort{
    u"The graticule file ended early: part of the picture has no graticule", u"Graticule File Error"};
inline constexpr Message kSmallBoxes{u"Can't download Small Boxes", u"Brellin Orvanta 5.x"};
inline constexpr Message kDownloadFailed{u"Can't Download picture", u"Orvanta Serial Error"};
inline constexpr Message kPrinterFault{
    u"Can't send Picture to Printer, Check it's on / Needs more paper?", u" Printer Fault"};
inline constexpr Message kNoBmpSelected{u"No .BMP file is selected", u"File Directory Error"};
inline constexpr Message kDriveNotReady{u"Selected Drive not ready", u"Drive Error"};
inline constexpr Message kPictureNotWritten{u"Can't write %1: %2", u"Picture File Error"};
inline constexpr Message kPictureNotRead{u"Can't read %1: %2", u"Picture File Error"};
// The read-log and monitor jobs' output file.
inline constexpr Message kLogNotWritten{u"Can't write %1: %2", u"Log File Error"};
inline constexpr Message kReadLogFailed{u"Can't read All_logs", u"Orvanta Serial Error"};
inline constexpr Message kMonitoringFailed{u"Logger Memory Full", u"Orvanta Error"};
inline constexpr Message kLogPrintFailed{u"Can't find a Printer", u"Print Error"};

} // namespace orvanta::messages
