#include "jobs/status_report.h"

#include "panel/lamp_map.h"
#include "panel/menu_map.h"
#include "panel/menu_tree.h"
#include "panel/window_layout.h"

#include <QJsonArray>

#include <algorithm>
#include <array>
#include <string_view>

namespace orvanta::jobs {

namespace {

// Where a field of the report comes from.
enum class Source {
    InputLamps,  // the lit lamps of the "Inputs" frame
    DisplayMode, // status byte 1: no menu shows it
    Standard,    // status byte 7 bit 0: no menu shows it
    Menu,        // the checked items of a submenu, by their captions
    Button,      // a button's caption
};

struct ReportRow
{
    QStringView key;   // in the JSON object
    QStringView label; // in the text
    Source source;
    std::string_view control = {};
};

constexpr ReportRow kReport[] = {
    {u"input", u"Input", Source::InputLamps},
    {u"display", u"Display", Source::DisplayMode},
    {u"standard", u"Standard", Source::Standard},
    {u"gains", u"Gains", Source::Menu, "mnuGains"},
    {u"filter", u"Filter", Source::Menu, "mnuFilters"},
    {u"safeArea", u"Safe area", Source::Menu, "mnuSafeArea"},
    {u"audioSource", u"Audio source", Source::Menu, "mnuAudSource"},
    {u"peakHold", u"Peak hold", Source::Menu, "mnuPkHold"},
    {u"deEmphasis", u"De-emphasis", Source::Menu, "mnuDe_emp"},
    {u"audioScale", u"Audio scale", Source::Menu, "mnuAudScale"},
    {u"refButton", u"Ref button", Source::Button, "cmdRef"},
    {u"sdiButton", u"SDI button", Source::Button, "cmdGenEdh"},
};

// By the display mode field's value.
constexpr std::array<QStringView, 4> kDisplayModes{u"small boxes", u"waveform", u"vector", u"combination"};
// By the line standard bit, clear then set.
constexpr std::array<QStringView, 2> kStandards{u"NTSC", u"PAL"};

constexpr std::string_view kInputsFrame = "Inputs";
constexpr int kLabelWidth = 14;

// "led_sdi1" is "SDI1", as the label beside the lamps writes it.
QString lampName(std::string_view lamp)
{
    return QString::fromLatin1(lamp.substr(lamp.find('_') + 1)).toUpper();
}

bool inInputsFrame(const panel::LampRow &lamp)
{
    const auto frames = panel::frameTable();
    const auto frame = std::ranges::find(frames, lamp.frame, &panel::FrameRow::name);
    return frame != frames.end() && frame->caption == kInputsFrame;
}

// A menu item as the menus show it now: its caption from the status, or the table's.
QString shownCaption(const panel::PanelState &state, const panel::MenuRow &row)
{
    return state.caption(row.name).value_or(panel::shownCaption(row.caption));
}

QString shownPath(const panel::PanelState &state, const panel::MenuRow &row)
{
    const QString parent = row.parent.empty() ? QString() : panel::menuPath(row.parent) + u'/';
    return parent + shownCaption(state, row);
}

} // namespace

std::optional<StatusReport> StatusReport::of(const link::StatusBlock &block)
{
    panel::PanelState state;
    if (!panel::applyMenuState(block, state) || !panel::applyLampState(block, state))
        return std::nullopt;
    return StatusReport(block, std::move(state));
}

QJsonObject StatusReport::json() const
{
    QJsonObject object;
    QJsonArray inputs;
    QJsonObject lamps;
    for (const panel::LampRow &lamp : panel::lampTable()) {
        const bool lit = state_.lit(lamp.name).value_or(false);
        lamps.insert(lampName(lamp.name), lit);
        if (lit && inInputsFrame(lamp))
            inputs.append(lampName(lamp.name));
    }

    // Each menu group's checked items by control name too, as send takes them
    // back: the captions carry the panel's own spellings.
    QJsonObject controls;
    for (const ReportRow &row : kReport) {
        QJsonValue value;
        switch (row.source) {
        case Source::InputLamps: value = inputs; break;
        case Source::DisplayMode:
            value = kDisplayModes[std::size_t(block_.field(link::status::kDisplayMode).value_or(0))].toString();
            break;
        case Source::Standard:
            value = kStandards[block_.isSet(link::status::kPal).value_or(false) ? 1 : 0].toString();
            break;
        case Source::Menu: {
            QJsonArray checked, names;
            for (const panel::MenuRow &item : panel::menuTable()) {
                if (item.parent == row.control && state_.checked(item.name).value_or(false)) {
                    checked.append(shownCaption(state_, item));
                    names.append(QString::fromLatin1(item.name));
                }
            }
            value = checked;
            controls.insert(row.key.toString(), names);
            break;
        }
        case Source::Button: value = state_.caption(row.control).value_or(QString()); break;
        }
        object.insert(row.key.toString(), value);
    }
    object.insert(QStringLiteral("lamps"), lamps);
    object.insert(QStringLiteral("controls"), controls);

    // Everything else the menus show from the status, by where it is.
    QJsonArray checked, captions, disabled;
    for (const panel::MenuRow &item : panel::menuTable()) {
        if (state_.checked(item.name).value_or(false))
            checked.append(shownPath(state_, item));
        if (const auto caption = state_.caption(item.name))
            captions.append(*caption);
        if (!state_.enabled(item.name).value_or(true))
            disabled.append(shownPath(state_, item));
    }
    object.insert(QStringLiteral("checked"), checked);
    object.insert(QStringLiteral("captions"), captions);
    object.insert(QStringLiteral("disabled"), disabled);
    object.insert(QStringLiteral("block"), QString::fromLatin1(block_.bytes().toHex()));
    return object;
}

QString StatusReport::text() const
{
    const QJsonObject object = json();
    QString text;
    const auto line = [&text](QStringView label, const QString &value) {
        text += (label.toString() + u':').leftJustified(kLabelWidth) + value + u'\n';
    };
    // A list is read as one value; an empty one says so.
    const auto joined = [](const QJsonValue &value, const QString &separator) {
        QStringList items;
        for (const QJsonValue &item : value.toArray())
            items << item.toString();
        return items.isEmpty() ? QStringLiteral("none") : items.join(separator);
    };

    for (const ReportRow &row : kReport) {
        const QJsonValue value = object.value(row.key.toString());
        line(row.label, value.isArray() ? joined(value, QStringLiteral(", ")) : value.toString());
    }
    QStringList lamps;
    for (const panel::LampRow &lamp : panel::lampTable()) {
        const QString name = lampName(lamp.name);
        lamps << name
                + (object.value(u"lamps").toObject().value(name).toBool() ? QStringLiteral(" on")
                                                                          : QStringLiteral(" off"));
    }
    line(u"Lamps", lamps.join(QStringLiteral(", ")));
    line(u"Checked", joined(object.value(u"checked"), u'\n' + QString(kLabelWidth, u' ')));
    line(u"Captions", joined(object.value(u"captions"), QStringLiteral("; ")));
    line(u"Disabled", joined(object.value(u"disabled"), QStringLiteral(", ")));
    line(u"Block", QString::fromLatin1(block_.bytes().toHex(' ')));
    return text;
}

} // namespace orvanta::jobs
