#pragma once

#include "core/pages.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <span>

// The five calculation pages as data: names, start texts, formula panels and
// notes; form1.cpp builds every page from this table with one function.
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

struct PageDesign {
    const char *tab;
    PageIndex calc; // fields, unit lists, button and result label
    Text banner;
    Text captionA, captionB; // A is the upper row
    const char *startA, *unitA, *startB, *unitB;
    const char *resultAtStart;
    const char *panel;
    std::span<const PanelLabel> panelLabels;
    const FractionBar *bar; // or none
    std::span<const Note> notes;
    std::array<const char *, 5> focusOrder;
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
    {"Kapacita",
     dielektra::Capacity,
     {"Label1", capacityBanner},
     {"Label2", "Napětí : "},
     {"Label3", "Náboj : "},
     "10",
     "V",
     "1",
     "KC",
     "Kondenzátor má kapacitu 100 F",
     "Frame1",
     capacityFormula,
     &capacityBar,
     {},
     {"Text1", "Combo1", "Text2", "Combo2", "Command1"}},
    {"Náboj",
     dielektra::Charge,
     {"Label9", capacityBanner},
     {"Label10", "Napětí : "},
     {"Label11", "Kapacita : "},
     "10",
     "V",
     "470",
     "mF.",
     "V kondenzátoru je náboj 4,7 C",
     "Frame2",
     chargeFormula,
     nullptr,
     {},
     {"Text3", "Combo3", "Text4", "Combo4", "Command2"}},
    {"Napětí",
     dielektra::Voltage,
     {"Label17", capacityBanner},
     {"Label18", "Náboj : "},
     {"Label19", "Kapacita : "},
     "10",
     "C",
     "1",
     "F",
     "Kondenzátor má napětí 10 V",
     "Frame3",
     voltageFormula,
     &voltageBar,
     {},
     {"Text5", "Combo5", "Text6", "Combo6", "Command3"}},
    {"Čas konstanta",
     dielektra::TimeConstant,
     {"Label29", "Měřítkem pro nabíjecí čas je časová konstanta (t) za časovou konstantu t je "
                 "kondenzátor nabit na zhruba 63%"},
     {"Label28", "Kapacita : "},
     {"Label27", "Odpor : "},
     "10",
     "uF",
     "1",
     "MO",
     "Časová konstanta kondenzátoru je 10 sec.",
     "Frame4",
     timeConstantFormula,
     nullptr,
     timeConstantNotes,
     {"Command4", "Combo7", "Text7", "Combo8", "Text8"}},
    {"Energie",
     dielektra::Energy,
     {"Label40", "Kondenzátor může uchovávat elektrickou energii W [J]"},
     {"Label39", "Napětí : "},
     {"Label38", "Kapacita : "},
     "100",
     "V",
     "100",
     "uF",
     "V kondenzátoru je energie 0,5 J",
     "Frame5",
     energyFormula,
     nullptr,
     {},
     {"Command5", "Combo9", "Text9", "Combo10", "Text10"}},
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
