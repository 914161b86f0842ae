#include "core/units.h"

namespace dielektra {

namespace {

// Kilo is a capital K, micro a plain u, and only milli carries a trailing
// period, so "mV" without it is no unit.
constexpr UnitFamily makeFamily(std::array<std::string_view, 8> texts)
{
    constexpr std::array<double, 8> factors{1e12, 1e6, 1e3, 1.0, 1e-3, 1e-6, 1e-9, 1e-12};
    UnitFamily family{};
    for (int i = 0; i < 8; ++i)
        family.labels[static_cast<std::size_t>(i)] = {texts[static_cast<std::size_t>(i)], i,
                                                      factors[static_cast<std::size_t>(i)]};
    return family;
}

} // namespace

const UnitFamily VoltageUnits = makeFamily({"TV", "MV", "KV", "V", "mV.", "uV", "nV", "pV"});
const UnitFamily ChargeUnits = makeFamily({"TC", "MC", "KC", "C", "mC.", "uC", "nC", "pC"});
const UnitFamily CapacityUnits = makeFamily({"TF", "MF", "KF", "F", "mF.", "uF", "nF", "pF"});
const UnitFamily ResistanceUnits = makeFamily({"TO", "MO", "KO", "O", "mO.", "uO", "nO", "pO"});

std::optional<double> factorOf(const UnitFamily &family, std::string_view text)
{
    for (const UnitLabel &label : family.labels)
        if (label.text == text)
            return label.factor;
    return std::nullopt;
}

namespace {

// How people write each prefix, by the position of its label; micro also as
// the micro sign and the Greek mu.
constexpr struct {
    std::size_t position;
    std::u16string_view spelling;
} prefixes[] = {{0, u"T"}, {1, u"M"},      {2, u"k"},      {2, u"K"}, {3, u""}, {4, u"m"},
                {5, u"u"}, {5, u"\u00b5"}, {5, u"\u03bc"}, {6, u"n"}, {7, u"p"}};

// How people write each unit, by the family's base label; the ohm also as the
// Greek omega and the ohm sign.
constexpr struct {
    std::string_view base;
    std::u16string_view spelling;
} units[] = {{"V", u"V"},      {"C", u"C"},      {"F", u"F"},   {"O", u"O"},
             {"O", u"\u03a9"}, {"O", u"\u2126"}, {"O", u"ohm"}, {"O", u"Ohm"}};

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\u00a0' || c == u'\u2009' || c == u'\u202f';
}

bool endsUnit(std::u16string_view rest)
{
    return rest.empty() || isSpace(rest.front()) ||
           std::u16string_view(u"\t\r\n.,;:!?)]").find(rest.front()) != std::u16string_view::npos;
}

} // namespace

const UnitLabel *unitWrittenAt(const UnitFamily &family, std::u16string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    const std::string_view base = family.labels[3].text;
    for (const auto &prefix : prefixes) {
        if (!text.starts_with(prefix.spelling))
            continue;
        const std::u16string_view after = text.substr(prefix.spelling.size());
        for (const auto &unit : units)
            if (unit.base == base && after.starts_with(unit.spelling) &&
                endsUnit(after.substr(unit.spelling.size())))
                return &family.labels[prefix.position];
    }
    return nullptr;
}

} // namespace dielektra
