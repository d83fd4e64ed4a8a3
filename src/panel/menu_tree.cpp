#include "panel/menu_tree.h"

#include <algorithm>

namespace orvanta::panel {

namespace {

constexpr MenuRow kMenus[] = {
    {.name = "mnuSpecial", .caption = "&Special"},
    {.name = "mnu_Logger", .caption = "&Logger", .parent = "mnuSpecial"},
    {.name = "mnuUpload", .caption = "&Download", .parent = "mnuSpecial"},
    {.name = "mnuSetup", .caption = "&Setup", .parent = "mnuSpecial"},
    {.name = "mnuPort", .caption = "PortNumber", .parent = "mnuSetup"},
    {.name = "mnuPort1", .caption = "Port 1", .parent = "mnuPort"},
    {.name = "mnuPort2", .caption = "Port 2", .parent = "mnuPort"},
    {.name = "mnuPort3", .caption = "Port 3", .parent = "mnuPort"},
    {.name = "mnuPort4", .caption = "Port 4", .parent = "mnuPort"},
    {.name = "mnuBaud", .caption = "BaudRate", .parent = "mnuSetup"},
    {.name = "mnu9600", .caption = "9.6K", .parent = "mnuBaud"},
    {.name = "mnu192k", .caption = "19.2K", .parent = "mnuBaud"},
    {.name = "mnu288k", .caption = "28.8K", .parent = "mnuBaud"},
    {.name = "mnu384k", .caption = "38.4K", .parent = "mnuBaud"},
    {.name = "mnuExit", .caption = "&Exit", .parent = "mnuSpecial"},

    {.name = "mnuConfig", .caption = "Config"},
    {.name = "mnuAlarms", .caption = "Alarms", .parent = "mnuConfig"},
    {.name = "mnuActpiccrc", .caption = "Act Pic CRC", .parent = "mnuAlarms"},
    {.name = "mnuFullpiccrc", .caption = "Full Pic CRC", .parent = "mnuAlarms"},
    {.name = "mnuAuderrs", .caption = "Audio Errs", .parent = "mnuAlarms"},
    {.name = "mnuCodeerrs", .caption = "Code Errs", .parent = "mnuAlarms"},
    {.name = "mnuIllegalerrs", .caption = "Illegal Errs", .parent = "mnuAlarms"},
    {.name = "mnuGamerrs", .caption = "Gamut Errs", .parent = "mnuAlarms"},
    {.name = "mnuNoaud", .caption = "No Aud", .parent = "mnuAlarms"},
    {.name = "mnuHiaud", .caption = "Hi Aud", .parent = "mnuAlarms"},
    {.name = "mnuNovid", .caption = "No Vid", .parent = "mnuAlarms"},
    {.name = "mnuBlack", .caption = "Black", .parent = "mnuAlarms"},
    {.name = "mnuKeypress", .caption = "Key Press", .parent = "mnuAlarms"},
    {.name = "mnuVmaglines", .caption = "Mag Lines", .parent = "mnuConfig"},
    {.name = "mnuMaglines4", .caption = "4 Lines", .parent = "mnuVmaglines"},
    {.name = "mnuMaglines8", .caption = "8 Lines", .parent = "mnuVmaglines"},
    {.name = "mnuMaglines16", .caption = "16 Lines", .parent = "mnuVmaglines"},
    {.name = "mnuMaglines32", .caption = "32 Lines", .parent = "mnuVmaglines"},
    {.name = "mnuCmtFmt", .caption = "Compt Format", .parent = "mnuConfig"},
    {.name = "mnuInputYUV", .caption = "Input YUV/RGB", .parent = "mnuCmtFmt"},
    {.name = "mnuOutputYUV", .caption = "Output YUV/RGB", .parent = "mnuCmtFmt"},
    {.name = "mnuDispYUV", .caption = "Display YUV/RGB", .parent = "mnuCmtFmt"},
    {.name = "mnuYRGB", .caption = "YRGB", .parent = "mnuCmtFmt"},

    {.name = "mnuGains", .caption = "Gains"},
    {.name = "mnuWgainNorm", .caption = "W Gain Norm", .parent = "mnuGains"},
    {.name = "mnuWGainMag", .caption = "W Gain Mag", .parent = "mnuGains"},
    {.name = "mnuVGain100", .caption = "V Gain 100%", .parent = "mnuGains"},
    {.name = "mnuVGain75", .caption = "V Gain 75%", .parent = "mnuGains"},
    {.name = "mnuVGainMag", .caption = "V Gain Mag", .parent = "mnuGains"},

    {.name = "mnuCursors", .caption = "Cursors"},
    {.name = "mnuHorzCursor", .caption = "Horz Cursor", .parent = "mnuCursors"},
    {.name = "mnuVertCursor", .caption = "Vert Cursor", .parent = "mnuCursors"},
    {.name = "mnuPhaseCursor", .caption = "Phase Cursor", .parent = "mnuCursors"},
    {.name = "mnuCanCurs", .caption = "Cancel Cursors", .parent = "mnuCursors"},

    {.name = "mnuPresets", .caption = "Presets"},
    {.name = "mnuFullWfm", .caption = "Full Size Waveform Mode", .parent = "mnuPresets"},
    {.name = "mnuFullvec", .caption = "Full Size Vector Mode", .parent = "mnuPresets"},
    {.name = "mnuFullcombo", .caption = "Full Size Combo Mode", .parent = "mnuPresets"},
    {.name = "mnuFullGBR", .caption = "Full Size Waveform GBR", .parent = "mnuPresets"},
    {.name = "mnuFullTime", .caption = "Full Size Wfm Time Measurement", .parent = "mnuPresets"},
    {.name = "mnuFullAmplitude", .caption = "Full Size Wfm Amplitude Measurement", .parent = "mnuPresets"},
    {.name = "mnuFullErrors", .caption = "Full Size Wfm Digital Errors", .parent = "mnuPresets"},
    {.name = "mnuAudMeasure", .caption = "Audio Measurement", .parent = "mnuPresets"},
    {.name = "mnuVideoGamut", .caption = "Full Size Video Gamut", .parent = "mnuPresets"},

    {.name = "mnuFilters", .caption = "Filters"},
    {.name = "mnuNorm", .caption = "Norm", .parent = "mnuFilters"},
    {.name = "mnuLpass", .caption = "LPass", .parent = "mnuFilters"},
    {.name = "mnuCpass", .caption = "CPass", .parent = "mnuFilters"},

    {.name = "mnuDisplay", .caption = "Display"},
    {.name = "mnuTrace", .caption = "Trace", .parent = "mnuDisplay"},
    {.name = "mnuPposition", .caption = "Position", .parent = "mnuDisplay"},
    {.name = "mnuMoveup", .caption = "Move Up", .parent = "mnuPposition"},
    {.name = "mnuMovedown", .caption = "Move Down", .parent = "mnuPposition"},
    {.name = "mnuLboxL", .caption = "Left Box <--", .parent = "mnuPposition"},
    {.name = "mnuLboxR", .caption = "Left Box -->", .parent = "mnuPposition"},
    {.name = "mnuRboxL", .caption = "Right Box <--", .parent = "mnuPposition"},
    {.name = "mnuRboxR", .caption = "Right Box -->", .parent = "mnuPposition"},
    {.name = "mnuTextBox", .caption = "Text Box Up/Down", .parent = "mnuPposition"},
    {.name = "mnuDispSpecial", .caption = "Special", .parent = "mnuDisplay"},
    {.name = "mnuSmallBox", .caption = "Small Top/Btm", .parent = "mnuDispSpecial"},
    {.name = "mnuNTSC_PALM", .caption = "525 NTSC / PALM", .parent = "mnuDispSpecial"},
    {.name = "mnuHblank", .caption = "H Blank", .parent = "mnuDispSpecial"},
    {.name = "mnuViewasAnaDig", .caption = "View as Ana/Dig", .parent = "mnuDispSpecial"},
    {.name = "mnuColour", .caption = "Colour Full/Mono", .parent = "mnuDispSpecial"},
    {.name = "mnuSyncongreen", .caption = "Sync on Green", .parent = "mnuDispSpecial"},
    {.name = "mnuPALSwitch", .caption = "PAL Switch", .parent = "mnuDispSpecial"},
    {.name = "mnuSafeArea", .caption = "Safe Area", .parent = "mnuDisplay"},
    {.name = "mnuSafeoff", .caption = "Off", .parent = "mnuSafeArea"},
    {.name = "mnuSafeActive", .caption = "Active 0%", .parent = "mnuSafeArea"},
    {.name = "mnuSafeaction", .caption = "Action 10%", .parent = "mnuSafeArea"},
    {.name = "mnuSafetitle", .caption = "Title 20%", .parent = "mnuSafeArea"},
    {.name = "mnuVres", .caption = "V Res", .parent = "mnuDisplay"},

    {.name = "mnuAudio", .caption = "Audio"},
    {.name = "mnuAudSource", .caption = "Source", .parent = "mnuAudio"},
    {.name = "mnuEmbGp1", .caption = "Emb'd Gp1", .parent = "mnuAudSource"},
    {.name = "mnuEmbGp2", .caption = "Emd'd Gp2", .parent = "mnuAudSource"},
    {.name = "mnuEmbGp3", .caption = "Emb'd Gp3", .parent = "mnuAudSource"},
    {.name = "mnuEmbGp4", .caption = "Emb'd Gp4", .parent = "mnuAudSource"},
    {.name = "mnuAnaAud", .caption = "Analog", .parent = "mnuAudSource"},
    {.name = "mnuAESAud", .caption = "AES", .parent = "mnuAudSource"},
    {.name = "mnuPkHold", .caption = "Peak Hold", .parent = "mnuAudio"},
    {.name = "mnuPksoff", .caption = "Off", .parent = "mnuPkHold"},
    {.name = "mnuPks1Sec", .caption = "1 Sec", .parent = "mnuPkHold"},
    {.name = "mnuPks2Sec", .caption = "2 sec", .parent = "mnuPkHold"},
    {.name = "mnuPks4Sec", .caption = "4 Sec", .parent = "mnuPkHold"},
    {.name = "mnuPksInf", .caption = "Infinite", .parent = "mnuPkHold"},
    {.name = "mnuDe_emp", .caption = "De Emphasis", .parent = "mnuAudio"},
    {.name = "mnuDemp48KHz", .caption = "48 KHz", .parent = "mnuDe_emp"},
    {.name = "mnuDemp44KHz", .caption = "44.1 KHz", .parent = "mnuDe_emp"},
    {.name = "mnuDemp32KHz", .caption = "32 KHz", .parent = "mnuDe_emp"},
    {.name = "mnuDempOff", .caption = "Off", .parent = "mnuDe_emp"},
    {.name = "mnuAudScale", .caption = "Scale", .parent = "mnuAudio"},
    {.name = "mnuScalePPM", .caption = "UK PPM", .parent = "mnuAudScale"},
    {.name = "mnuScaleDigi", .caption = "Digital", .parent = "mnuAudScale"},
    {.name = "mnuScaleNordic", .caption = "Nordic", .parent = "mnuAudScale"},
    {.name = "mnuScaleVU", .caption = "VU", .parent = "mnuAudScale"},
    {.name = "mnuScaleEBU", .caption = "EBU", .parent = "mnuAudScale"},
    {.name = "mnuScaleDIN", .caption = "DIN", .parent = "mnuAudScale"},
    {.name = "mnuScaleExp", .caption = "Expand", .parent = "mnuAudScale"},
    {.name = "mnuAudPhase", .caption = "Phase", .parent = "mnuAudio"},

    {.name = "mnuStore", .caption = "Store Settings"},
    {.name = "mnuStore0", .caption = "Store 0", .parent = "mnuStore"},
    {.name = "mnuStore1", .caption = "Store 1", .parent = "mnuStore"},
    {.name = "mnuStore2", .caption = "Store 2", .parent = "mnuStore"},
    {.name = "mnuStore3", .caption = "Store 3", .parent = "mnuStore"},
    {.name = "mnuStore4", .caption = "Store 4", .parent = "mnuStore"},
    {.name = "mnuStore5", .caption = "Store 5", .parent = "mnuStore"},
    {.name = "mnuStore6", .caption = "Store 6", .parent = "mnuStore"},
    {.name = "mnuStore7", .caption = "Store 7", .parent = "mnuStore"},
    {.name = "mnuStore8", .caption = "Store 8", .parent = "mnuStore"},

    {.name = "mnuRecall", .caption = "Recall Settings"},
    {.name = "mnuRecall0", .caption = "Recall 0", .parent = "mnuRecall"},
    {.name = "mnuRecall1", .caption = "Recall 1", .parent = "mnuRecall"},
    {.name = "mnuRecall2", .caption = "Recall 2", .parent = "mnuRecall"},
    {.name = "mnuRecall3", .caption = "Recall 3", .parent = "mnuRecall"},
    {.name = "mnuRecall4", .caption = "Recall 4", .parent = "mnuRecall"},
    {.name = "mnuRecall5", .caption = "Recall 5", .parent = "mnuRecall"},
    {.name = "mnuRecall6", .caption = "Recall 6", .parent = "mnuRecall"},
    {.name = "mnuRecall7", .caption = "Recall 7", .parent = "mnuRecall"},
    {.name = "mnuRecall8", .caption = "Recall 8", .parent = "mnuRecall"},

    {.name = "mnuHelp", .caption = "&Help"},
    {.name = "mnuHelpContents", .caption = "Help Contents", .parent = "mnuHelp"},
    {.name = "mnuAbout", .caption = "Help About", .parent = "mnuHelp"},
};

} // namespace

std::span<const MenuRow> menuTable()
{
    return kMenus;
}

const MenuRow *menuRow(std::string_view name)
{
    const auto row = std::ranges::find(kMenus, name, &MenuRow::name);
    return row == std::end(kMenus) ? nullptr : &*row;
}

bool hasSubItems(std::string_view name)
{
    return std::ranges::any_of(kMenus, [name](const MenuRow &row) { return row.parent == name; });
}

QString shownCaption(std::string_view caption)
{
    QString shown = QString::fromLatin1(caption);
    // "&&" would show one "&"; no caption of ours has one.
    return shown.remove(u'&');
}

QString menuPath(std::string_view name)
{
    QString path;
    for (const MenuRow *row = menuRow(name); row; row = row->parent.empty() ? nullptr : menuRow(row->parent))
        path = path.isEmpty() ? shownCaption(row->caption) : shownCaption(row->caption) + u'/' + path;
    return path;
}

} // namespace orvanta::panel
