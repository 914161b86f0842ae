#pragma once

class QLabel;

namespace dielektra::style {

// White text on dark grey (64, 64, 64), opaque and centred.
void makeBanner(QLabel *label);
// White text drawn straight on whatever lies behind the label.
void makeTransparentWhite(QLabel *label);

} // namespace dielektra::style
