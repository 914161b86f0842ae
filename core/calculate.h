#pragma once

#include "core/units.h"

#include <string>
#include <string_view>

namespace dielektra {

// The icon of a message box, each with one OK button.
enum class MessageIcon { Critical, Information };

// A calculation page's two inputs, each a field with the unit list beside it.
enum class Row { Upper, Lower };

// What the window lends one calculation page: its two fields, two unit lists,
// result and note, bound once when the window builds the page, and its boxes.
class PageControls {
public:
    virtual ~PageControls() = default;
    virtual std::string fieldText(Row row) const = 0;
    virtual void setFieldText(Row row, const std::string &text) = 0;
    virtual std::string unitText(Row row) const = 0;
    virtual void focusUnitList(Row row) = 0;
    virtual void showResult(const std::string &sentence) = 0;
    // The time-constant page's note that the source would give an infinite
    // current; other pages have none.
    virtual void showNote(bool shown) = 0;
    // Modal: returns when the user has closed the box.
    virtual void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) = 0;
};

struct CalcPage {
    const UnitFamily *upper;
    const UnitFamily *lower;
    double (*formula)(double upper, double lower);
    std::string_view prefix; // of the result sentence, before the number
    std::string_view suffix;
    // The time-constant page tests only its capacity (the upper row), with a
    // prompt of its own, writes "1" into it afterwards, and shows its note
    // for a zero resistance. Empty on the other pages, which test both rows.
    // Its braces spare the pages that leave it out GCC's and clang's
    // -Wmissing-field-initializers, which clang-tidy 19 does not know.
    std::string_view capacityOnlyPrompt{}; // NOLINT(readability-redundant-member-init)
};

inline constexpr std::string_view InputErrorTitle = "Chyba zadání";
inline constexpr std::string_view ZeroPrompt = "Zadaná hodnota nemůže být 0";
// Followed by the valid spellings of the refused family: ". Platné jednotky: TV, MV, …".
inline constexpr std::string_view UnknownUnitPrompt = "Zadaná jednotka není platná";
inline constexpr std::string_view TooLargePrompt = "Zadaná hodnota je příliš velká";

// One click of a page's button: the result sentence, or a box that says why
// there is none. Quantities are in the base units of their families (volt,
// coulomb, farad, ohm), the result in its own (farad, coulomb, volt, second,
// joule). decimalSeparator is the user's, for the result sentence only;
// rewritten fields always use ".".
void calculate(const CalcPage &page, PageControls &controls, std::string_view decimalSeparator);

} // namespace dielektra
