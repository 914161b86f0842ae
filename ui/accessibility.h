#pragma once

namespace dielektra::accessibility {

// Gives screen readers what Qt alone does not: unit lists named by their
// quantity, notifications for new results, a press action on the About
// page's clickable labels, line edits that answer every question about
// their text at once and have it read whole, a tab list of the tabs alone, and
// the platform's guard on its bridge. Before any control is asked for its
// accessible interface, which Qt keeps once made; later calls do nothing.
void install();

} // namespace dielektra::accessibility
