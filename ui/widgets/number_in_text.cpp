#include "ui/widgets/number_in_text.h"

#include <algorithm>
#include <string>

namespace {

constexpr char32_t ArabicDecimal = U'\u066b';
constexpr char32_t ArabicGroup = U'\u066c';

bool endsCell(char32_t c)
{
    return c == U'\t' || c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == U'\u0085' ||
           c == U'\u2028' || c == U'\u2029';
}

bool isDropped(char32_t c)
{
    return QChar::isSpace(c) || QChar::category(c) == QChar::Other_Format;
}

// U+2212 as "-", any decimal digit as its ASCII digit, and a full-width or
// small form of an ASCII character ("１，５", "﹣") as that character; the rest
// as it is.
char32_t asAscii(char32_t c)
{
    if (c == U'\u2212')
        return U'-';
    if (QChar::category(c) == QChar::Number_DecimalDigit)
        return U'0' + char32_t(QChar::digitValue(c));
    const auto tag = QChar::decompositionTag(c);
    if (tag == QChar::Wide || tag == QChar::Narrow || tag == QChar::Small) {
        const QString plain = QChar::decomposition(c);
        if (plain.size() == 1 && plain[0].unicode() < 0x80)
            return plain[0].unicode();
    }
    return c;
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// The characters of a paste as a number sees them: ASCII for any decimal
// digit, U+2212 and the full-width forms, blanks and format characters
// skipped, and the end at a tab or line break once a character was seen
// (before it, empty cells and lines are passed over).
class PastedCharacters {
public:
    explicit PastedCharacters(QStringView text) : text_(text) {}

    // 0 at the end.
    char32_t peek()
    {
        if (!ready_)
            advance();
        return current_;
    }
    void take()
    {
        ready_ = false;
        end_ = at_;
    }
    // Just after the last character taken.
    qsizetype end() const { return end_; }

private:
    void advance()
    {
        ready_ = true;
        current_ = 0;
        while (at_ < text_.size()) {
            char32_t c = text_[at_++].unicode();
            if (c == U' ')
                continue; // the commonest blank, before any lookup
            if (QChar::isHighSurrogate(c) && at_ < text_.size() && text_[at_].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text_[at_++].unicode());
            if (endsCell(c)) {
                if (seen_)
                    return;
                continue;
            }
            if (c >= 0x80 && isDropped(c))
                continue;
            seen_ = true;
            current_ = c < 0x80 ? c : asAscii(c);
            return;
        }
    }

    QStringView text_;
    qsizetype at_ = 0, end_ = 0;
    bool seen_ = false;
    bool ready_ = false;
    char32_t current_ = 0;
};

bool isSeparator(char32_t c)
{
    return c == U',' || c == U'.' || c == ArabicDecimal || c == ArabicGroup;
}

// Where the decimal point is, or npos: a single U+066B; else, of "," and
// ".", the last where both occur, or the one that occurs once alone.
std::u32string::size_type decimalPoint(const std::u32string &mantissa)
{
    const auto count = [&](char32_t c) { return std::count(mantissa.begin(), mantissa.end(), c); };
    const auto arabic = count(ArabicDecimal);
    if (arabic > 0)
        return arabic == 1 ? mantissa.find(ArabicDecimal) : std::u32string::npos;
    const auto commas = count(U',');
    const auto periods = count(U'.');
    if (commas > 0 && periods > 0)
        return mantissa.find_last_of(U",.");
    if (commas + periods == 1)
        return mantissa.find_first_of(U",.");
    return std::u32string::npos;
}

// The digits, with "." at the decimal point; grouping separators go.
std::string resolveSeparators(const std::u32string &mantissa)
{
    const auto decimal = decimalPoint(mantissa);
    std::string kept;
    kept.reserve(mantissa.size());
    for (std::u32string::size_type i = 0; i < mantissa.size(); ++i) {
        if (i == decimal)
            kept += '.';
        else if (isDigit(mantissa[i]))
            kept += char(mantissa[i]);
    }
    return kept;
}

} // namespace

std::optional<NumberInText> numberInText(QStringView text, qsizetype maxLength)
{
    PastedCharacters in(text);
    std::string number;
    if (in.peek() == U'+' || in.peek() == U'-') {
        number += char(in.peek());
        in.take();
    }
    std::u32string mantissa;
    bool digits = false;
    for (char32_t c = in.peek(); isDigit(c) || isSeparator(c); c = in.peek()) {
        digits = digits || isDigit(c);
        mantissa += c;
        in.take();
        // Grouping separators may make it shorter, but not by more than half.
        if (qsizetype(mantissa.size()) > 2 * maxLength + 1)
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    number += resolveSeparators(mantissa);
    qsizetype end = in.end();
    if (in.peek() == U'E' || in.peek() == U'e') {
        std::string exponent(1, char(in.peek()));
        in.take();
        if (in.peek() == U'+' || in.peek() == U'-') {
            exponent += char(in.peek());
            in.take();
        }
        for (char32_t c = in.peek(); isDigit(c); c = in.peek()) {
            exponent += char(c);
            in.take();
            if (qsizetype(exponent.size()) > maxLength)
                return std::nullopt;
        }
        // Without digits it is no exponent: the number ends before it.
        if (isDigit(exponent.back())) {
            number += exponent;
            end = in.end();
        }
    }
    if (qsizetype(number.size()) > maxLength)
        return std::nullopt;
    return NumberInText{QString::fromLatin1(number.data(), qsizetype(number.size())), end};
}
