#include "app/web/pagemarkup.h"

#include "app/contrast.h"
#include "app/form1.h"
#include "app/form1view.h"
#include "app/linerecord.h"
#include "app/spokenboxes.h"
#include "app/utf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

namespace {

// A disabled box looks as in the desktop's standard scheme: grey lettering
// on light grey, or a grey dark enough to read where it must.
constexpr Rgb DisabledBase{239, 239, 239};
constexpr Rgb DisabledLetters{190, 190, 190};
constexpr Rgb EnabledLetters{0, 0, 0};

Rgb readableDisabledLetters()
{
    auto colour = [](Rgb c) { return Colour{c.red / 255.0, c.green / 255.0, c.blue / 255.0}; };
    const Colour letters =
        readableLetters(colour(DisabledBase), colour(DisabledLetters), colour(EnabledLetters));
    auto byte = [](double v) { return static_cast<std::uint8_t>(v * 255 + 0.5); };
    return {byte(letters.red), byte(letters.green), byte(letters.blue)};
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string px(int value)
{
    return std::to_string(value) + "px";
}

// Form1 started on a face that only keeps what it is told, as the module's
// face would show it.
class MarkupFace final : public Form1View, public Clock, public RandomSource, public Ending {
public:
    struct Control {
        std::string text;
        bool visible;
        int left, top;
        std::string name; // what a screen reader is told
    };

    MarkupFace()
    {
        for (const ControlRow &row : form1Controls())
            controls.push_back(
                {row.caption, row.visible, row.rect.left, row.rect.top, row.accessibleName});
    }

    std::vector<Control> controls;

private:
    std::u16string controlText(ControlId c) const override
    {
        return utf16(controls[c.index()].text);
    }
    void setControlText(ControlId c, std::u16string_view text) override
    {
        controls[c.index()].text = utf8(text);
        if (const std::optional<std::string> spoken = spoken_.shown(c, controls[c.index()].text))
            controls[c.index()].name = accessibleName(controlRow(c), *spoken);
    }
    void setControlVisible(ControlId c, bool visible) override
    {
        controls[c.index()].visible = visible;
    }
    void moveControl(ControlId c, int left, int top) override
    {
        controls[c.index()].left = left;
        controls[c.index()].top = top;
    }
    DrawingSurface &surface() override { return figure_; }
    void figureDrawn() override {}
    void say(const std::string &) override {}
    void setSpokenText(ControlId c, const std::string &spoken) override
    {
        spoken_.given(c);
        controls[c.index()].name = spoken;
    }
    std::string timeOfDay() const override { return "00:00:00"; }
    void seed(int) override {}
    float next() override { return 0; }
    void end() override {}

    LineRecord figure_;
    SpokenBoxes spoken_;
};

std::string element(const ControlRow &row, const MarkupFace::Control &shown, std::size_t z)
{
    static const std::map<ControlKind, const char *> tags{{ControlKind::Label, "div"},
                                                          {ControlKind::TextBox, "input"},
                                                          {ControlKind::Button, "button"}};
    const char *tag = tags.at(row.kind);
    std::string style =
        "left:" + px(shown.left) + ";top:" + px(shown.top) + ";width:" + px(row.rect.width) +
        ";height:" + px(row.rect.height) + ";font-family:'" + fontFamily(row.face) +
        "';font-size:" + px(row.pixelSize) + ";font-weight:" + (row.bold ? "bold" : "normal");
    if (!shown.visible)
        style += ";display:none";
    // A button centres its caption, as on the desktop.
    if (row.kind != ControlKind::Button)
        style += std::string(";text-align:") + (row.align == TextAlign::Centre  ? "center"
                                                : row.align == TextAlign::Right ? "right"
                                                                                : "left");
    const PageColours colours = pageColours(row);
    if (!colours.background.empty())
        style += ";background:" + colours.background;
    if (!colours.letters.empty())
        style += ";color:" + colours.letters;
    // Painted in the table's order wherever it stands in the page.
    style += ";z-index:" + std::to_string(z);

    std::string e = std::string("<") + tag + " id=\"" + row.name + "\" style=\"" + style + "\"";
    if (!shown.name.empty())
        e += " aria-label=\"" + escaped(shown.name) + "\"";
    if (!row.accessibleDescription.empty())
        e += " aria-description=\"" + escaped(row.accessibleDescription) + "\"";
    // Tab follows the order of the page, never a tabindex above 0.
    if (row.kind != ControlKind::Label) {
        const std::vector<ControlId> &order = form1FocusOrder();
        const bool inOrder = std::any_of(order.begin(), order.end(),
                                         [&](ControlId id) { return &controlRow(id) == &row; });
        e += std::string(" tabindex=\"") + (row.focusable && inOrder ? "0" : "-1") + "\"";
    }
    if (row.kind == ControlKind::Button)
        return e + " type=\"button\">" + escaped(shown.text) + "</button>";
    if (row.kind == ControlKind::Label)
        return e + ">" + escaped(shown.text) + "</div>";
    // Its name follows what it shows, typed by the pupil too.
    if (row.spoken != SpokenForm::AsShown)
        e += " data-spoken";
    if (!row.enabled)
        e += " disabled";
    // Where a teacher finds the version: over the credit line.
    if (row.name == "Text5")
        e += " title=\"Ver." + std::string(Version) + "\"";
    // Decimal keys on a phone's keyboard for the answer.
    if (row.name == "Text7")
        e += " inputmode=\"decimal\"";
    return e + " value=\"" + escaped(shown.text) + "\">";
}

void replace(std::string &text, std::string_view marker, const std::string &by)
{
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) {
        std::fprintf(stderr, "the page's template lacks %.*s\n", static_cast<int>(marker.size()),
                     marker.data());
        std::exit(EXIT_FAILURE);
    }
    text.replace(at, marker.size(), by);
}

} // namespace

std::string cssColour(Rgb rgb)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text = "#";
    for (std::uint8_t channel : {rgb.red, rgb.green, rgb.blue}) {
        text += Digits[channel >> 4];
        text += Digits[channel & 15];
    }
    return text;
}

const char *fontFamily(TypeFace face)
{
    return face == TypeFace::Fixed ? "OhmDrill Gothic" : "OhmDrill PGothic";
}

PageColours pageColours(const ControlRow &row)
{
    if (row.kind == ControlKind::TextBox && !row.enabled)
        return {cssColour(DisabledBase),
                cssColour(row.readableWhenDisabled ? readableDisabledLetters() : DisabledLetters)};
    return {row.background ? cssColour(*row.background) : "",
            row.letters ? cssColour(*row.letters) : ""};
}

std::string accessibleName(const ControlRow &row, const std::string &spoken)
{
    if (row.spoken == SpokenForm::AsShown || spoken.empty())
        return row.accessibleName;
    if (spoken.starts_with(row.accessibleName))
        return spoken;
    return row.accessibleName + " " + spoken;
}

std::string windowMarkup()
{
    MarkupFace face;
    Form1 form(face, face, face, face);
    form.Form_Load();

    const std::vector<ControlRow> &table = form1Controls();
    auto markup = [&](std::size_t i) { return element(table[i], face.controls[i], i + 1); };
    // The page holds the controls in focus order, so that Tab and a screen
    // reader's reading go the same way; each of the others comes just
    // before the next control after it in the table that has a place in
    // the focus order, as a box's caption comes before the box.
    std::vector<std::string> before(table.size());
    std::string waiting;
    for (std::size_t i = 0; i < table.size(); ++i) {
        waiting += markup(i) + "\n";
        const std::vector<ControlId> &order = form1FocusOrder();
        if (std::find(order.begin(), order.end(), form1ControlIds()[i]) == order.end())
            continue;
        before[i] = std::move(waiting);
        waiting.clear();
    }
    std::string text = "<div id=\"Form1\" role=\"group\" aria-label=\"" + escaped(WindowCaption) +
                       "\" style=\"width:" + px(WindowWidth) + ";height:" + px(WindowHeight) +
                       ";background:" + cssColour(WindowBackground) + "\">\n";
    // The circuit lies behind every control.
    text += "<canvas style=\"width:" + px(WindowWidth) + ";height:" + px(WindowHeight) +
            "\"></canvas>\n";
    for (ControlId id : form1FocusOrder())
        text += before[id.index()];
    return text + waiting + "</div>";
}

std::string pageMarkup(std::string_view pageTemplate)
{
    std::string page(pageTemplate);
    const std::string caption = escaped(WindowCaption);
    replace(page, "@CAPTION@", caption);
    replace(page, "@CAPTION@", caption);
    replace(page, "@WINDOW@", windowMarkup());
    return page;
}
