#include "panel/menu_map.h"

#include "panel/main_window.h"
#include "panel/menu_item.h"

#include <QAction>
#include <QPushButton>

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace orvanta::panel {

namespace {

namespace status = link::status;
using link::StatusField;

// An item checked exactly when its field has a bit set.
struct CheckBit
{
    std::string_view item;
    StatusField field;
};

// One item of a one-of group, checked when the group's field holds value.
// The embedded audio groups are narrowed down by a second field.
struct Choice
{
    std::uint8_t value;
    std::string_view item;
    std::optional<StatusField> alsoField = std::nullopt;
    std::uint8_t alsoValue = 0;
};

// Every item is cleared, then the one the field picks is checked. A value no
// choice names checks `otherwise`, or nothing when there is none.
struct OneOf
{
    StatusField field;
    std::span<const Choice> choices;
    std::string_view otherwise = {};
};

// A caption picked by the field's value counted from the field's lowest bit,
// so a one-bit field reads {clear, set}.
struct Caption
{
    std::string_view control; // a menu item or a button
    StatusField field;
    std::array<std::string_view, 4> byValue;
};

struct CheckBits
{
    std::span<const CheckBit> rows;
};

struct Captions
{
    std::span<const Caption> rows;
};

// Items disabled while any bit of the field is set, enabled otherwise.
struct Lock
{
    StatusField field;
    std::span<const std::string_view> items;
};

using MenuGroup = std::variant<CheckBits, OneOf, Captions, Lock>;

constexpr CheckBit kAlarms[] = {
    {"mnuFullpiccrc", status::kAlarmFullPictureCrc},
    {"mnuActpiccrc", status::kAlarmActivePictureCrc},
    {"mnuGamerrs", status::kAlarmGamut},
    {"mnuIllegalerrs", status::kAlarmIllegal},
    {"mnuAuderrs", status::kAlarmAudio},
    {"mnuCodeerrs", status::kAlarmCode},
    {"mnuKeypress", status::kAlarmKeyPress},
    {"mnuHiaud", status::kAlarmHighAudio},
    {"mnuBlack", status::kAlarmBlack},
    {"mnuNovid", status::kAlarmNoVideo},
    {"mnuNoaud", status::kAlarmNoAudio},
};

// Not in ascending order: 0x04 is sixteen lines, 0x08 eight.
constexpr Choice kMagLines[] = {
    {0x00, "mnuMaglines4"},
    {0x04, "mnuMaglines16"},
    {0x08, "mnuMaglines8"},
    {0x0C, "mnuMaglines32"},
};

constexpr Caption kComponentFormats[] = {
    {"mnuInputYUV", status::kInputYuv, {"Input: RGB", "Input: YUV"}},
    {"mnuOutputYUV", status::kOutputYuv, {"Output: RGB", "Output: YUV"}},
    {"mnuDispYUV", status::kDisplayYuv, {"Display: RGB", "Display: YUV"}},
};

constexpr CheckBit kYrgb[] = {{"mnuYRGB", status::kYrgb}};

constexpr Choice kWaveformGains[] = {
    {0x00, "mnuWgainNorm"},
    {0x04, "mnuWGainMag"},
};

constexpr Choice kVectorGains[] = {
    {0x00, "mnuVGain100"},
    {0x10, "mnuVGainMag"},
    {0x20, "mnuVGain75"},
    {0x30, "mnuVGain75"},
};

constexpr Choice kFilters[] = {
    {0x00, "mnuNorm"},
    {0x10, "mnuLpass"},
    {0x20, "mnuCpass"},
    {0x30, "mnuCpass"},
};

constexpr Caption kAudioPhase[] = {
    {"mnuAudPhase", status::kAudioPhase34, {"Phase: Ch 1+2", "Phase: Ch 3+4"}},
};

// 0x30 is none of these: all six stay clear, whatever the embedded group says.
constexpr Choice kAudioSources[] = {
    {0x00, "mnuAnaAud"},
    {0x10, "mnuAESAud"},
    {0x20, "mnuEmbGp1", status::kEmbeddedGroup, 0x00},
    {0x20, "mnuEmbGp2", status::kEmbeddedGroup, 0x10},
    {0x20, "mnuEmbGp3", status::kEmbeddedGroup, 0x20},
    {0x20, "mnuEmbGp4", status::kEmbeddedGroup, 0x30},
};

// Fifty a second; every other value holds for ever.
constexpr Choice kPeakHolds[] = {
    {0, "mnuPksoff"},
    {50, "mnuPks1Sec"},
    {100, "mnuPks2Sec"},
    {200, "mnuPks4Sec"},
};

// 0x1C is none of these.
constexpr Choice kMeterScales[] = {
    {0x00, "mnuScalePPM"},
    {0x04, "mnuScaleDigi"},
    {0x08, "mnuScaleNordic"},
    {0x0C, "mnuScaleVU"},
    {0x10, "mnuScaleEBU"},
    {0x14, "mnuScaleDIN"},
    {0x18, "mnuScaleExp"},
};

constexpr Choice kDeEmphases[] = {
    {0x00, "mnuDemp32KHz"},
    {0x04, "mnuDemp44KHz"},
    {0x08, "mnuDemp48KHz"},
    {0x0C, "mnuDempOff"},
};

constexpr CheckBit kTrace[] = {{"mnuTrace", status::kTraceOn}};

constexpr std::string_view kBoxPositions[] = {"mnuLboxL", "mnuLboxR", "mnuRboxL", "mnuRboxR"};

constexpr Caption kSmallBox[] = {
    {"mnuSmallBox", status::kSmallBoxTop, {"Small Box: Btm", "Small Box: Top"}},
};

constexpr Caption kSystem525[] = {
    {"mnuNTSC_PALM", status::kSystem525Ntsc, {"525: PALM", "525: NTSC"}},
};

constexpr CheckBit kHBlank[] = {{"mnuHblank", status::kHBlank}};

constexpr Caption kViewAndColour[] = {
    {"mnuViewasAnaDig", status::kViewDigital, {"View as Analog", "View as Digital"}},
    {"mnuColour", status::kMonochrome, {"Colour: Full", "Colour: Mono"}},
};

constexpr CheckBit kDisplaySwitches[] = {
    {"mnuSyncongreen", status::kSyncOnGreen},
    {"mnuPALSwitch", status::kPalSwitch},
    {"mnuVres", status::kVRes},
};

constexpr Choice kSafeAreas[] = {
    {0, "mnuSafeActive"},
    {1, "mnuSafeaction"},
    {2, "mnuSafetitle"},
    {3, "mnuSafeoff"},
};

constexpr Caption kButtons[] = {
    {"cmdRef", status::kExternalReference, {"Int", "Ext"}},
    {"cmdGenEdh", status::kGenEdh, {"Off", "EDH", "GEN", "GEN"}},
};

// In this order: a block that ends early leaves the groups after it alone.
constexpr std::array<MenuGroup, 21> kMenuGroups{
    CheckBits{kAlarms},
    OneOf{status::kMagLines, kMagLines},
    Captions{kComponentFormats},
    CheckBits{kYrgb},
    OneOf{status::kWaveformGainMag, kWaveformGains},
    OneOf{status::kVectorGain, kVectorGains},
    OneOf{status::kFilter, kFilters},
    Captions{kAudioPhase},
    OneOf{status::kAudioSource, kAudioSources},
    OneOf{status::kPeakHold, kPeakHolds, "mnuPksInf"},
    OneOf{status::kMeterScale, kMeterScales},
    OneOf{status::kDeEmphasis, kDeEmphases},
    CheckBits{kTrace},
    Lock{status::kBoxPositionLock, kBoxPositions},
    Captions{kSmallBox},
    Captions{kSystem525},
    CheckBits{kHBlank},
    Captions{kViewAndColour},
    CheckBits{kDisplaySwitches},
    OneOf{status::kSafeArea, kSafeAreas},
    Captions{kButtons},
};

constexpr int captionIndex(StatusField field, std::uint8_t value)
{
    return value >> std::countr_zero(field.mask);
}

// Every value a caption's field can hold has a caption; every choice's value
// is one its field can hold.
constexpr bool tablesAreWhole()
{
    for (const MenuGroup &group : kMenuGroups) {
        if (const auto *captions = std::get_if<Captions>(&group)) {
            for (const Caption &row : captions->rows) {
                const int last = captionIndex(row.field, row.field.mask);
                if (last >= int(row.byValue.size()))
                    return false;
                for (int i = 0; i <= last; ++i)
                    if (row.byValue[std::size_t(i)].empty())
                        return false;
            }
        } else if (const auto *oneOf = std::get_if<OneOf>(&group)) {
            for (const Choice &choice : oneOf->choices)
                if ((choice.value & ~oneOf->field.mask) != 0)
                    return false;
        }
    }
    return true;
}
static_assert(tablesAreWhole());

// Walks one group; false as soon as a byte or a control is missing.
class MenuWriter
{
public:
    MenuWriter(const link::StatusBlock &block, MainWindow &window)
        : block_(block)
        , window_(window)
    { }

    bool operator()(const CheckBits &group) const
    {
        for (const CheckBit &row : group.rows) {
            const std::optional<bool> set = block_.isSet(row.field);
            if (!set || !check(row.item, *set))
                return false;
        }
        return true;
    }

    bool operator()(const OneOf &group) const
    {
        // Everything the pick depends on is read before the first mark goes.
        const std::optional<std::uint8_t> value = block_.field(group.field);
        if (!value)
            return false;
        std::string_view pick;
        bool named = false;
        for (const Choice &choice : group.choices) {
            if (choice.value != *value)
                continue;
            named = true;
            if (choice.alsoField) {
                const std::optional<std::uint8_t> also = block_.field(*choice.alsoField);
                if (!also)
                    return false;
                if (*also != choice.alsoValue)
                    continue;
            }
            pick = choice.item;
            break;
        }
        if (!named)
            pick = group.otherwise;

        for (const Choice &choice : group.choices)
            if (!check(choice.item, false))
                return false;
        if (!group.otherwise.empty() && !check(group.otherwise, false))
            return false;
        return pick.empty() || check(pick, true);
    }

    bool operator()(const Captions &group) const
    {
        for (const Caption &row : group.rows) {
            const std::optional<std::uint8_t> value = block_.field(row.field);
            if (!value)
                return false;
            const QString caption = QString::fromLatin1(row.byValue[captionIndex(row.field, *value)]);
            const QString name = QString::fromLatin1(row.control);
            // A caption row names a menu item or, failing that, a button.
            if (auto *item = window_.findChild<QAction *>(name))
                item->setText(caption);
            else
                window_.button(name)->setText(caption);
        }
        return true;
    }

    bool operator()(const Lock &group) const
    {
        const std::optional<bool> locked = block_.isSet(group.field);
        if (!locked)
            return false;
        for (std::string_view name : group.items) {
            QAction *item = window_.menuItem(QString::fromLatin1(name));
            if (!item)
                return false;
            item->setEnabled(!*locked);
        }
        return true;
    }

private:
    bool check(std::string_view name, bool checked) const
    {
        QAction *item = window_.menuItem(QString::fromLatin1(name));
        if (!item)
            return false;
        setItemChecked(item, checked);
        return true;
    }

    const link::StatusBlock &block_;
    MainWindow &window_;
};

} // namespace

bool applyMenuState(const link::StatusBlock &block, MainWindow &window)
{
    const MenuWriter writer(block, window);
    for (const MenuGroup &group : kMenuGroups)
        if (!std::visit(writer, group))
            return false;
    return true;
}

} // namespace orvanta::panel
