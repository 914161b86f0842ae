#pragma once

#include <QRect>

namespace dielektra::atspi {

// What an accessible text of the program's own answers beyond Qt's
// interfaces, for the bridge guard to give a screen reader: a range's box at
// once (Qt's bridge asks for each character's box in turn), and whether the
// last edit was taken (Qt's bridge says true to every edit). A header of its
// own, so that the guard and the line edit's interface each can go alone.
class TextAnswers {
public:
    // The screen box around the characters from start to end (0 to the
    // length).
    virtual QRect rangeBox(int start, int end) const = 0;
    virtual bool lastEditTaken() const = 0;

protected:
    TextAnswers() = default;
    TextAnswers(const TextAnswers &) = default;
    TextAnswers &operator=(const TextAnswers &) = default;
    ~TextAnswers() = default;
};

} // namespace dielektra::atspi
