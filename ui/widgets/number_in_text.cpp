#include "ui/widgets/number_in_text.h"

#include <deque>
#include <string>
#include <vector>

namespace {

constexpr char32_t ArabicDecimal = U'\u066b';
constexpr char32_t ArabicGroup = U'\u066c';

bool endsCell(char32_t c)
{
    return c == U'\t' || c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == U'\u0085' ||
           c == U'\u2028' || c == U'\u2029';
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isDecimalMark(char32_t c)
{
    return c == U',' || c == U'.' || c == ArabicDecimal;
}

bool isGroupMark(char32_t c)
{
    return c == U' ' || c == U'\'' || c == U',' || c == U'.' || c == ArabicGroup;
}

bool isMark(char32_t c)
{
    return isDecimalMark(c) || isGroupMark(c);
}

// The characters of a cell as a number sees them: plain characters, every
// blank as " " and every apostrophe as "'", format characters passed over,
// and 0 once the cell ends. At a text's start, blanks and empty cells and
// lines before the first character are passed over too.
class Characters {
public:
    Characters(QStringView text, qsizetype from, bool atStart)
        : text_(text), at_(from), end_(from), seen_(!atStart)
    {
    }

    // The character so many places ahead, or 0 past the cell's end.
    char32_t peek(std::size_t ahead = 0)
    {
        while (ahead_.size() <= ahead) {
            const Seen next = read();
            if (next.c == 0)
                return 0;
            ahead_.push_back(next);
        }
        return ahead_[ahead].c;
    }
    void take()
    {
        end_ = ahead_.front().end;
        ahead_.pop_front();
    }
    // Just after the last character taken.
    qsizetype end() const { return end_; }

private:
    struct Seen {
        char32_t c;
        qsizetype end;
    };

    Seen read()
    {
        while (at_ < text_.size()) {
            char32_t c = text_[at_++].unicode();
            if (QChar::isHighSurrogate(c) && at_ < text_.size() && text_[at_].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text_[at_++].unicode());
            if (endsCell(c)) {
                if (seen_) {
                    at_ = text_.size();
                    break;
                }
                continue;
            }
            if (c == U' ' || (c >= 0x80 && QChar::isSpace(c))) {
                if (seen_)
                    return {U' ', at_};
                continue;
            }
            if (c >= 0x80 && QChar::category(c) == QChar::Other_Format)
                continue;
            seen_ = true;
            c = plainCharacter(c);
            return {c == U'\u2019' ? U'\'' : c, at_};
        }
        return {0, at_};
    }

    QStringView text_;
    qsizetype at_, end_;
    bool seen_;
    std::deque<Seen> ahead_; // a few characters at most
};

// A character after a number and any blanks that makes an arithmetic of it.
bool changesValue(char32_t c)
{
    if (c == U'·' || c == U'*' || c == U'/' || c == U'^' || c == U'%' || c == U'‰' || c == U'‱')
        return true;
    const auto category = QChar::category(c);
    return category == QChar::Symbol_Math || category == QChar::Number_Other ||
           category == QChar::Number_Letter;
}

// Whether what follows a number leaves its value as it is (see the header).
bool goesOnQuietly(Characters &rest)
{
    const char32_t next = rest.peek();
    if ((next != U' ' && isMark(next) && isDigit(rest.peek(1))) || next == U'E' || next == U'e')
        return false;
    bool blanks = false;
    while (rest.peek() == U' ') {
        blanks = true;
        rest.take();
    }
    const char32_t c = rest.peek();
    if (changesValue(c) || (blanks && isMark(c) && isDigit(rest.peek(1))))
        return false;
    const bool exponent = blanks && (c == U'E' || c == U'e');
    if (exponent || c == U'x' || c == U'X' || QChar::category(c) == QChar::Punctuation_Dash) {
        rest.take();
        if (exponent && (rest.peek() == U'+' || rest.peek() == U'-'))
            rest.take();
        while (rest.peek() == U' ')
            rest.take();
        return !isDigit(rest.peek());
    }
    return true;
}

} // namespace

char32_t plainCharacter(char32_t c)
{
    if (c < 0x80)
        return c;
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

namespace {

// The digit groups of a number before its exponent, the marks between them
// (only ones that a digit follows), and where each group ends in the text.
struct Groups {
    std::vector<std::string> digits{1};
    std::vector<char32_t> marks;
    std::vector<qsizetype> ends;
};

// False where the text holds no digits there, or more than maxLength.
bool readGroups(Characters &in, Groups &groups, qsizetype maxLength)
{
    qsizetype count = 0;
    const auto readGroup = [&] {
        for (; isDigit(in.peek()); in.take()) {
            groups.digits.back() += char(in.peek());
            if (++count > maxLength)
                return false;
        }
        groups.ends.push_back(in.end());
        return true;
    };
    if (!readGroup() ||
        (groups.digits[0].empty() && !(isDecimalMark(in.peek()) && isDigit(in.peek(1)))))
        return false;
    while (isMark(in.peek()) && isDigit(in.peek(1))) {
        groups.marks.push_back(in.peek());
        in.take();
        groups.digits.emplace_back();
        if (!readGroup())
            return false;
    }
    return true;
}

// The number that the groups' shape writes, added to number; the count of
// marks that it takes.
std::size_t readShape(const Groups &groups, std::string &number)
{
    const auto &[digits, marks, ends] = groups;
    number += digits[0];
    const std::size_t count = marks.size();
    if (count > 0 && isGroupMark(marks[0]) && !digits[0].empty() && digits[0].size() <= 3) {
        std::size_t grouped = 0;
        while (grouped < count && marks[grouped] == marks[0] && digits[grouped + 1].size() == 3)
            ++grouped;
        const bool fraction = grouped > 0 && grouped < count && isDecimalMark(marks[grouped]) &&
                              marks[grouped] != marks[0];
        // A single "," or "." alone is the decimal mark.
        if (grouped > 0 && (fraction || grouped > 1 || !isDecimalMark(marks[0]))) {
            for (std::size_t i = 1; i <= grouped; ++i)
                number += digits[i];
            if (!fraction)
                return grouped;
            number += '.' + digits[grouped + 1];
            return grouped + 1;
        }
    }
    if (count > 0 && isDecimalMark(marks[0])) {
        number += '.' + digits[1];
        return 1;
    }
    return 0;
}

// An exponent right after the digits, added to number; false where its letter
// has no digits.
bool readExponent(Characters &rest, std::string &number)
{
    if (rest.peek() != U'E' && rest.peek() != U'e')
        return true;
    const bool hasSign = rest.peek(1) == U'+' || rest.peek(1) == U'-';
    if (!isDigit(rest.peek(hasSign ? 2 : 1)))
        return false;
    number += char(rest.peek());
    rest.take();
    if (hasSign) {
        number += char(rest.peek());
        rest.take();
    }
    for (; isDigit(rest.peek()); rest.take())
        number += char(rest.peek());
    return true;
}

} // namespace

std::optional<NumberInText> numberInText(QStringView text, qsizetype maxLength)
{
    text = text.left(4 * maxLength + 16);
    Characters in(text, 0, true);
    std::string number;
    if (in.peek() == U'+' || in.peek() == U'-') {
        number += char(in.peek());
        in.take();
    }
    Groups groups;
    if (!readGroups(in, groups, maxLength))
        return std::nullopt;
    Characters rest(text, groups.ends[readShape(groups, number)], false);
    if (!readExponent(rest, number))
        return std::nullopt;
    const qsizetype end = rest.end();
    if (!goesOnQuietly(rest) || qsizetype(number.size()) > maxLength)
        return std::nullopt;
    return NumberInText{QString::fromLatin1(number.data(), qsizetype(number.size())), end};
}

bool readsWhole(QStringView text)
{
    qsizetype at = 0;
    const auto digitsFrom = [&] {
        const qsizetype start = at;
        while (at < text.size() && isDigit(text[at].unicode()))
            ++at;
        return at - start;
    };
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    qsizetype mantissa = digitsFrom();
    if (at < text.size() && text[at] == u'.') {
        ++at;
        mantissa += digitsFrom();
    }
    if (mantissa == 0)
        return false;
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            ++at;
        if (digitsFrom() == 0)
            return false;
    }
    return at == text.size();
}
