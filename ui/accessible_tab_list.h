#pragma once

class QAccessibleInterface;
class QTabBar;

namespace dielektra::accessibility {

// The page tab list as a screen reader should count it: its tabs alone; nullptr
// where the switch leaves it out (platform/workarounds.h), and Qt's own
// interface serves. Qt's own, in Qt 6.4 and 6.8, also holds its two scroll
// buttons, hidden or not, so that a screen reader counts eight tabs where the
// window shows six. The test qt_fault_accessible_tab_list (ctest -L
// qt-faults) counts them in a program without this, and fails where the
// running Qt no longer counts the buttons: then this can go.
QAccessibleInterface *tabListInterface(QTabBar *bar);

} // namespace dielektra::accessibility
