// What a window that has not drawn its first frame yet offers: the pages
// behind the first are built after it, unless something asks for them sooner.
#include "gui_support.h"

#include <QAccessible>

namespace {

bool whole(const MainWindow &window)
{
    return window.findChild<QWidget *>(QStringLiteral("Label23")) != nullptr; // built last
}

// Typed keys go to the active window.
TEST(Startup, WindowIsWholeOnceActive)
{
    MainWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }));
    EXPECT_TRUE(whole(window));
}

// Qt tells the window that a screen reader has started before it tells the
// screen reader that the program is there.
TEST(Startup, ScreenReaderStartingFindsEveryPage)
{
    MainWindow window;
    ASSERT_FALSE(whole(window));
    QAccessible::setActive(true);
    const bool built = whole(window);
    QAccessible::setActive(false);
    EXPECT_TRUE(built);
}

} // namespace
