#include "app/form1controls.h"

#include "app/spokentext.h"
#include "drill/drillstate.h"
#include "marking/keypad.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct SlotLayout {
    const char *caption;
    ControlRect label;
    ControlRect box;
    const char *name;        // what a screen reader calls the value box
    const char *description; // and what it says about it
};

// The nine quantity slots around the diagram. Each value box lies over the
// blank middle of its caption, so a shown slot reads as name, box, unit.
constexpr SlotLayout SlotLayouts[SlotCount] = {
    {"Ｉ＝　　　　Ａ",
     {56, 272, 145, 17},
     {96, 264, 65, 28},
     "電流 I",
     "回路全体を流れる電流、単位アンペア"},
    {"Ｉ１＝　　　　Ａ",
     {344, 112, 161, 17},
     {408, 104, 65, 28},
     "電流 I1",
     "抵抗 R1 を流れる電流、単位アンペア"},
    {"Ｉ２＝　　　　Ａ",
     {344, 208, 161, 17},
     {408, 200, 65, 28},
     "電流 I2",
     "抵抗 R2 を流れる電流、単位アンペア"},
    {"Ｅ＝　　　Ｖ", {304, 320, 137, 17}, {344, 312, 65, 28}, "電圧 E", "電源の電圧、単位ボルト"},
    {"Ｅ１＝　　　Ｖ",
     {312, 48, 145, 17},
     {368, 40, 65, 28},
     "電圧 E1",
     "抵抗 R1 にかかる電圧、単位ボルト"},
    {"Ｅ２＝　　　Ｖ",
     {272, 240, 145, 17},
     {328, 232, 65, 28},
     "電圧 E2",
     "抵抗 R2 にかかる電圧、単位ボルト"},
    {"Ｒ１＝　　　Ω",
     {192, 112, 145, 17},
     {248, 104, 65, 28},
     "抵抗 R1",
     "上の枝の抵抗、単位オーム"},
    {"Ｒ２＝　　　Ω",
     {192, 208, 145, 17},
     {248, 200, 65, 28},
     "抵抗 R2",
     "下の枝の抵抗、単位オーム"},
    {"Ｒ＝　　　Ω", {0, 96, 121, 17}, {40, 88, 57, 28}, "抵抗 R", "回路全体の合成抵抗、単位オーム"},
};

struct KeyLayout {
    const char *caption;
    int left;
    int top;
    const char *name; // what the key types, for a screen reader
};

// The keypad by index: digits 0 to 9, then clear and point.
//   7 8 9 / 4 5 6 / 1 2 3 / 0 ・ クリア
constexpr KeyLayout KeyLayouts[12] = {
    {"０", 584, 392, "0"}, {"１", 584, 360, "1"},          {"２", 632, 360, "2"},
    {"３", 680, 360, "3"}, {"４", 584, 328, "4"},          {"５", 632, 328, "5"},
    {"６", 680, 328, "6"}, {"７", 584, 296, "7"},          {"８", 632, 296, "8"},
    {"９", 680, 296, "9"}, {"クリア", 680, 392, "クリア"}, {"・", 632, 392, "小数点"},
};
constexpr int KeyWidth = 49;
constexpr int KeyHeight = 33;

constexpr int RowBoxWidth = 41;
constexpr int RowBoxHeight = 33;

constexpr Rgb TitleBand{0, 0, 192};
constexpr Rgb Yellow{255, 255, 0};

constexpr const char *CreditText = "並列回路の練習ドリル　Ver.1.0";

struct Font {
    TypeFace face;
    int pixelSize;
    bool bold = true;
};
// The window's own font, which most controls use: 14.25 points.
constexpr Font WindowFont{TypeFace::Proportional, 19};

ControlRow control(ControlKind kind, std::string name, std::string caption, ControlRect rect,
                   Font font, TextAlign align)
{
    ControlRow c;
    c.name = std::move(name);
    c.kind = kind;
    c.caption = std::move(caption);
    c.rect = rect;
    c.face = font.face;
    c.pixelSize = font.pixelSize;
    c.bold = font.bold;
    c.align = align;
    return c;
}

ControlRow label(std::string name, std::string caption, ControlRect rect, Font font)
{
    ControlRow c = control(ControlKind::Label, std::move(name), std::move(caption), rect, font,
                           TextAlign::Left);
    c.background = WindowBackground;
    c.letters = LabelLetters;
    c.focusable = false;
    return c;
}

ControlRow textBox(std::string name, ControlRect rect, Font font, TextAlign align)
{
    return control(ControlKind::TextBox, std::move(name), {}, rect, font, align);
}

ControlRow button(std::string name, std::string caption, ControlRect rect, Font font)
{
    return control(ControlKind::Button, std::move(name), std::move(caption), rect, font,
                   TextAlign::Left);
}

std::vector<ControlRow> buildTable()
{
    std::vector<ControlRow> t;
    t.push_back(
        label("Label1", "電流・電圧・抵抗の練習", {8, 0, 345, 41}, {TypeFace::Proportional, 32}));
    t.back().background = TitleBand;
    t.back().letters = Yellow;
    t.push_back(label("Label4", {}, {376, 16, 281, 25}, WindowFont));
    // The task text and the correct answer keep their captions as their
    // names, so a screen reader that reads them finds the current text.
    t.back().accessibleDescription = "問題";
    t.push_back(button("Command1", "終　了", {688, 8, 97, 33}, {TypeFace::Proportional, 16}));
    t.back().accessibleName = "終了";
    t.back().accessibleDescription = "練習をやめてプログラムを終わる";
    t.push_back(
        label("Label3", "得点　　　　　　点", {600, 88, 161, 25}, {TypeFace::Proportional, 21}));
    t.back().accessibleName = "得点";
    t.push_back(
        textBox("Text6", {648, 80, 81, 33}, {TypeFace::Proportional, 24}, TextAlign::Centre));
    t.back().accessibleName = "得点";
    t.back().accessibleDescription = "正解1問につき10点";
    t.back().spoken = SpokenForm::Score;
    t.push_back(label("Label5", {}, {600, 152, 161, 25}, WindowFont));
    t.back().letters = Yellow;
    t.back().visible = false;
    t.back().accessibleDescription = "まちがえたときの正しい答え";
    t.push_back(textBox("Text7", {584, 264, 145, 33}, WindowFont, TextAlign::Right));
    t.back().accessibleName = "答え";
    t.back().accessibleDescription =
        "キーパッドかキーボードで数を入れ、Enter キーか「入力」で答え合わせ";
    t.push_back(button("Command3", "入　　力", {584, 424, 145, 33}, WindowFont));
    t.back().accessibleName = "入力";
    t.back().accessibleDescription = "答え合わせをする";
    t.push_back(button("Command5", "次", {736, 424, 57, 33}, WindowFont));
    t.back().accessibleName = "次";
    t.back().accessibleDescription = "次の問題へ進む";
    t.push_back(textBox("Text5", {600, 552, 185, 17}, {TypeFace::Proportional, 11, false},
                        TextAlign::Left));
    t.back().caption = CreditText;
    t.back().enabled = false;
    t.back().focusable = false;
    t.back().accessibleName = "バージョン";

    for (int k = 0; k < SlotCount; ++k) {
        const SlotLayout &slot = SlotLayouts[k];
        t.push_back(
            label("Label2_" + std::to_string(k), slot.caption, slot.label, {TypeFace::Fixed, 19}));
        t.back().accessibleName = slot.name;
        t.back().index = k;
        t.push_back(textBox("Text4_" + std::to_string(k), slot.box, {TypeFace::Proportional, 16},
                            TextAlign::Centre));
        t.back().accessibleName = slot.name;
        t.back().accessibleDescription = slot.description;
        t.back().spoken = SpokenForm::SlotValue;
        t.back().index = k;
    }

    for (int index = 0; index < 12; ++index) {
        const KeyLayout &key = KeyLayouts[index];
        const Font font = index == ClearKey ? Font{TypeFace::Proportional, 13} : WindowFont;
        t.push_back(button("Command2_" + std::to_string(index), key.caption,
                           {key.left, key.top, KeyWidth, KeyHeight}, font));
        t.back().accessibleName = key.name;
        if (index == ClearKey)
            t.back().accessibleDescription = "答えを消す";
        t.back().index = index;
    }

    // The rows of question numbers and marks, where the form was laid out;
    // start-up moves them into place.
    for (int i = 1; i <= 10; ++i) {
        t.push_back(textBox("Text1_" + std::to_string(i),
                            {64 + 40 * i, 496, RowBoxWidth, RowBoxHeight},
                            {TypeFace::Proportional, 21}, TextAlign::Centre));
        t.back().enabled = false;
        t.back().readableWhenDisabled = true;
        t.back().focusable = false;
        t.back().accessibleName = "第" + std::to_string(i) + "問";
        t.back().index = i;
    }
    for (int i = 1; i <= 10; ++i) {
        t.push_back(textBox("Text2_" + std::to_string(i),
                            {64 + 40 * i, 528, RowBoxWidth, RowBoxHeight}, {TypeFace::Fixed, 21},
                            TextAlign::Centre));
        t.back().enabled = false;
        t.back().readableWhenDisabled = true;
        t.back().focusable = false;
        t.back().accessibleName = "第" + std::to_string(i) + "問の結果";
        t.back().accessibleDescription = "○は正解、×はまちがい";
        t.back().spoken = SpokenForm::Mark;
        t.back().index = i;
    }
    return t;
}

} // namespace

const std::vector<ControlRow> &form1Controls()
{
    static const std::vector<ControlRow> table = buildTable();
    return table;
}

const std::vector<ControlId> &form1ControlIds()
{
    static const std::vector<ControlId> ids = [] {
        std::vector<ControlId> all;
        for (std::size_t i = 0; i < form1Controls().size(); ++i)
            all.push_back(ControlId(i));
        return all;
    }();
    return ids;
}

const ControlRow &controlRow(ControlId control)
{
    return form1Controls()[control.index()];
}

std::optional<ControlId> findControl(std::string_view name)
{
    const std::vector<ControlRow> &table = form1Controls();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [name](const ControlRow &c) { return c.name == name; });
    if (found == table.end())
        return std::nullopt;
    return form1ControlIds()[static_cast<std::size_t>(found - table.begin())];
}

ControlId controlNamed(std::string_view name)
{
    const std::optional<ControlId> found = findControl(name);
    if (!found) [[unlikely]] {
        std::fprintf(stderr, "no control named %.*s in the window's table\n",
                     static_cast<int>(name.size()), name.data());
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    return *found;
}

const std::vector<ControlId> &form1FocusOrder()
{
    static const std::vector<ControlId> order = [] {
        std::vector<std::string> names{"Command1"};
        for (int index = 0; index < 12; ++index)
            names.push_back("Command2_" + std::to_string(index));
        names.insert(names.end(), {"Command3", "Text7", "Command5"});
        for (int k = 0; k < SlotCount; ++k)
            names.push_back("Text4_" + std::to_string(k));
        names.emplace_back("Text6");
        std::vector<ControlId> ids;
        ids.reserve(names.size());
        for (const std::string &name : names)
            ids.push_back(controlNamed(name));
        return ids;
    }();
    return order;
}

std::string spokenBoxText(const ControlRow &box, std::string_view shown)
{
    switch (box.spoken) {
    case SpokenForm::SlotValue:
        return spokenSlotValue(box.index, shown);
    case SpokenForm::Score:
        return std::string(shown) + " 点";
    case SpokenForm::Mark:
        return spokenMark(box.index, shown);
    case SpokenForm::AsShown:
        break;
    }
    return std::string(shown);
}
