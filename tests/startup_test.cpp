// What a window that has not drawn its first frame yet offers: the pages
// behind the first are built after it, unless something asks for them sooner.
#include "gui_support.h"

#include <QAccessible>

namespace {

using Window = WindowTest;

// Typed keys go to the active window.
TEST_F(Window, IsWholeOnceActive)
{
    MainWindow early;
    early.show();
    early.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return early.isActiveWindow(); }));
    EXPECT_TRUE(whole(early));
}

// Qt tells the window that a screen reader has started before it tells the
// screen reader that the program is there.
TEST_F(Window, IsWholeWhenAScreenReaderStarts)
{
    MainWindow early;
    ASSERT_FALSE(whole(early));
    QAccessible::setActive(true);
    const bool built = whole(early);
    QAccessible::setActive(false);
    EXPECT_TRUE(built);
}

} // namespace
