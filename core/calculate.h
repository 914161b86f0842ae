#pragma once

#include "core/units.h"

#include <string>
#include <string_view>

namespace dielektra {

enum class MsgStyle { Critical = 16, Information = 64 };

// What the window lends a calculation: its controls, named by objectName.
class PageOps {
public:
    virtual ~PageOps() = default;
    virtual std::string text(std::string_view field) const = 0;
    virtual void setText(std::string_view field, const std::string &text) = 0;
    virtual std::string unitText(std::string_view unitList) const = 0;
    virtual void setCaption(std::string_view label, const std::string &caption) = 0;
    virtual void setVisible(std::string_view label, bool visible) = 0;
    virtual void setFocus(std::string_view control) = 0;
    // Modal: returns when the user has closed the box.
    virtual void msgBox(std::string_view prompt, MsgStyle style, std::string_view title) = 0;
};

// Each in the base unit of its family: volt, coulomb, farad, ohm; the result
// in the result's base unit (farad, coulomb, volt, second, joule).
struct CalcQuantities {
    double a = 0.0;
    double b = 0.0;
    double result = 0.0;
};

struct CalcField {
    std::string_view field;
    std::string_view unitList;
    const UnitFamily *family;
};

// The time-constant page tests only its capacity field, with a prompt of its
// own, writes "1" into it afterwards, and shows a note for zero resistance.
struct CapacityOnlyZeroTest {
    std::string_view prompt;
    std::string_view noteLabel;
};

struct CalcPage {
    std::string_view button;
    CalcField a;
    CalcField b;
    double (*formula)(double a, double b);
    std::string_view resultLabel;
    std::string_view prefix;
    std::string_view suffix;
    const CapacityOnlyZeroTest *capacityOnly = nullptr;
};

enum class Outcome {
    Shown,           // the result sentence was written
    RefusedTooLarge, // a field's number lies beyond the single-precision range
    RefusedZero,     // the zero test stopped the click
    RefusedUnit,     // a unit text matched no label of its family
};

inline constexpr std::string_view InputErrorTitle = "Chyba zadání";
inline constexpr std::string_view ZeroPrompt = "Zadaná hodnota nemůže být 0";
// Followed by the valid spellings of the refused family: ". Platné jednotky: TV, MV, …".
inline constexpr std::string_view UnknownUnitPrompt = "Zadaná jednotka není platná";
inline constexpr std::string_view TooLargePrompt = "Zadaná hodnota je příliš velká";

// One click of a page's button. decimalSeparator is the user's, for the
// result sentence only; rewritten fields always use ".".
Outcome CalculatePage(const CalcPage &page, CalcQuantities &quantities, PageOps &ops,
                      std::string_view decimalSeparator);

} // namespace dielektra
