#pragma once

#include "core/pages.h"

#include <QPoint>
#include <QRect>

#include <span>

// The five calculation pages as data: the controls' names, start texts,
// formula panels and notes; main_window.cpp builds every page from this table
// with one function. The names (Text1, Combo1, Label4 …) are the controls'
// objectNames, by which the window's record and screen readers know them.
namespace dielektra::design {

struct Text {
    const char *name; // objectName
    const char *text;
};

// Formula panel contents, in pixels relative to the panel.
struct PanelLabel {
    const char *name;
    const char *text;
    int x, y;
};

struct FractionBar {
    const char *name;
    int x1, x2, y;
};

// The time-constant page's notes, in the banner look at x = 128, 412 wide.
struct Note {
    const char *name;
    const char *text;
    int y;
    bool visibleAtStart;
};

// One of a page's two inputs: its caption, its field and the unit list beside
// it, with their start texts.
struct InputRow {
    Text caption;
    Text field;
    Text unitList;
};

// The order in which Tab moves through a page: down from the upper field to
// the button, or up from the button, each row's unit list before its field.
enum class FocusOrder { Down, Up };

struct PageDesign {
    const char *tab;
    PageIndex calc; // the calculation, and the families of the rows' unit lists
    Text banner;
    InputRow upper, lower;
    const char *button;
    Text result;
    const char *panel;
    std::span<const PanelLabel> panelLabels;
    const FractionBar *bar; // or none
    std::span<const Note> notes;
    const Note *resultNote; // the note that a calculation shows or hides, or none
    FocusOrder focusOrder;
};

inline const char *const capacityBanner =
    "Kondenzátor má kapacitu 1F (farad), nabije-li se napětím 1V na náboj 1C = 1A * s";

inline constexpr PanelLabel capacityFormula[] = {{"Label8", "C=", 24, 24},
                                                 {"Label7", "Q", 51, 16},
                                                 {"Label6", "U", 51, 32},
                                                 {"Label5", "[F; C; V]", 80, 24}};
inline constexpr PanelLabel chargeFormula[] = {{"Label13", "Q=C*U  [C; F; V]", 24, 24}};
inline constexpr PanelLabel voltageFormula[] = {{"Label21", "U=", 24, 24},
                                                {"Label16", "Q", 51, 16},
                                                {"Label15", "C", 51, 32},
                                                {"Label14", "[V; C; F]", 80, 24}};
inline constexpr PanelLabel timeConstantFormula[] = {{"Label25", "t = R*C [s; Ohm; F]", 24, 24}};
inline constexpr PanelLabel energyFormula[] = {{"Label36", "W=0.5*C*U^2   [J; C; F; V]", 24, 24}};

inline constexpr FractionBar capacityBar{"Line1", 43, 67, 32};
inline constexpr FractionBar voltageBar{"Line2", 43, 67, 32};

inline constexpr Note timeConstantNotes[] = {
    {"Label35", "Zdroj dodává nekonečně velký proud (tato situace nikdy nenastane).", 104, false},
    {"Label41", "Místo Omegy (značky Ohmu) je písmeno \"O\"...", 120, true}};

inline const PageDesign pageDesigns[] = {
    {.tab = "Kapacita",
     .calc = dielektra::Capacity,
     .banner = {"Label1", capacityBanner},
     .upper = {{"Label2", "Napětí : "}, {"Text1", "10"}, {"Combo1", "V"}},
     .lower = {{"Label3", "Náboj : "}, {"Text2", "1"}, {"Combo2", "KC"}},
     .button = "Command1",
     .result = {"Label4", "Kondenzátor má kapacitu 100 F"},
     .panel = "Frame1",
     .panelLabels = capacityFormula,
     .bar = &capacityBar,
     .notes = {},
     .resultNote = nullptr,
     .focusOrder = FocusOrder::Down},
    {.tab = "Náboj",
     .calc = dielektra::Charge,
     .banner = {"Label9", capacityBanner},
     .upper = {{"Label10", "Napětí : "}, {"Text3", "10"}, {"Combo3", "V"}},
     .lower = {{"Label11", "Kapacita : "}, {"Text4", "470"}, {"Combo4", "mF."}},
     .button = "Command2",
     .result = {"Label12", "V kondenzátoru je náboj 4,7 C"},
     .panel = "Frame2",
     .panelLabels = chargeFormula,
     .bar = nullptr,
     .notes = {},
     .resultNote = nullptr,
     .focusOrder = FocusOrder::Down},
    {.tab = "Napětí",
     .calc = dielektra::Voltage,
     .banner = {"Label17", capacityBanner},
     .upper = {{"Label18", "Náboj : "}, {"Text5", "10"}, {"Combo5", "C"}},
     .lower = {{"Label19", "Kapacita : "}, {"Text6", "1"}, {"Combo6", "F"}},
     .button = "Command3",
     .result = {"Label20", "Kondenzátor má napětí 10 V"},
     .panel = "Frame3",
     .panelLabels = voltageFormula,
     .bar = &voltageBar,
     .notes = {},
     .resultNote = nullptr,
     .focusOrder = FocusOrder::Down},
    {.tab = "Čas konstanta",
     .calc = dielektra::TimeConstant,
     .banner = {"Label29", "Měřítkem pro nabíjecí čas je časová konstanta (t) za časovou "
                           "konstantu t je kondenzátor nabit na zhruba 63%"},
     .upper = {{"Label28", "Kapacita : "}, {"Text8", "10"}, {"Combo8", "uF"}},
     .lower = {{"Label27", "Odpor : "}, {"Text7", "1"}, {"Combo7", "MO"}},
     .button = "Command4",
     .result = {"Label26", "Časová konstanta kondenzátoru je 10 sec."},
     .panel = "Frame4",
     .panelLabels = timeConstantFormula,
     .bar = nullptr,
     .notes = timeConstantNotes,
     .resultNote = &timeConstantNotes[0],
     .focusOrder = FocusOrder::Up},
    {.tab = "Energie",
     .calc = dielektra::Energy,
     .banner = {"Label40", "Kondenzátor může uchovávat elektrickou energii W [J]"},
     .upper = {{"Label39", "Napětí : "}, {"Text10", "100"}, {"Combo10", "V"}},
     .lower = {{"Label38", "Kapacita : "}, {"Text9", "100"}, {"Combo9", "uF"}},
     .button = "Command5",
     .result = {"Label37", "V kondenzátoru je energie 0,5 J"},
     .panel = "Frame5",
     .panelLabels = energyFormula,
     .bar = nullptr,
     .notes = {},
     .resultNote = nullptr,
     .focusOrder = FocusOrder::Up},
};

// The geometry that all five calculation pages share, relative to the tab control.
inline constexpr QRect bannerRect(8, 32, 533, 13);
inline constexpr QPoint captionA(16, 58), captionB(16, 83);
inline constexpr QRect fieldA(72, 56, 105, 19), fieldB(72, 80, 105, 19);
inline constexpr QRect unitA(184, 56, 49, 21), unitB(184, 80, 49, 21);
inline constexpr QRect buttonRect(16, 104, 105, 25);
inline constexpr QRect panelRect(240, 48, 297, 57);
inline constexpr QRect resultRect(8, 136, 532, 13);
inline constexpr int noteX = 128, noteWidth = 412, lineHeight = 13;

} // namespace dielektra::design
