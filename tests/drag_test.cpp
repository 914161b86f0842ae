#include "gui_support.h"

#include <QDragMoveEvent>
#include <QGuiApplication>
#include <QProcess>
#include <QWindow>

namespace {

// A drag from another program (tests/system/drag_source) under X11, driven
// through XTest as a person drags, so that it goes through the XDND answers
// that the source gets while the drag hovers: only on X11, with the source
// named by DIELEKTRA_DRAG_SOURCE (ctest's real_drag runs it on an Xvfb).
class RealDrag : public WindowTest {
protected:
    void SetUp() override
    {
        source_ = qEnvironmentVariable("DIELEKTRA_DRAG_SOURCE");
        if (QGuiApplication::platformName() != u"xcb" || source_.isEmpty())
            GTEST_SKIP() << "needs X11 and DIELEKTRA_DRAG_SOURCE";
        WindowTest::SetUp();
        window->move(20, 20);
    }

    static void pointer(const QStringList &arguments)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0)
            << arguments.join(u' ').toStdString();
    }

    QString source_;
};

// Records where the drags that reach a window have been, and whether one has
// ended there: left or dropped.
class DragSeen : public QObject {
public:
    explicit DragSeen(QWindow *window) { window->installEventFilter(this); }
    QList<QPoint> at;
    bool ended = false;

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)
            at += static_cast<QDropEvent *>(event)->position().toPoint();
        ended = ended || event->type() == QEvent::DragLeave || event->type() == QEvent::Drop;
        return false;
    }
};

// A drag that holds a number the field takes where it hovers is answered
// Copy from its first hover on, whatever the source proposes, and dropped as
// a copy, so that the source keeps its text; any other is refused while it
// hovers, and changes nothing: the rows of "real drags" in
// tests/window_rows.tsv.
TEST_F(RealDrag, IsACopyOfANumberOrNothing)
{
    QLineEdit *charge = field(Page::Capacity, Row::Lower);
    for (const QStringList &row : windowRows("real drags")) {
        SCOPED_TRACE(row.value(0).toStdString());
        const QString start = row.value(4);
        const QString path = row.value(5);
        charge->setText(start);
        charge->setCursorPosition(1);
        const int caretX = charge->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        const int y = charge->height() / 2;
        const QPoint from(path == "start" ? caretX : 0, y);
        const QPoint to(path == "middle" ? caretX : path == "start" ? 1 : charge->width() - 6, y);
        QProcess source;
        source.start(source_, {row.value(1), row.value(2), row.value(3)});
        QString said;
        const auto says = [&](const QString &line) {
            return QTest::qWaitFor(
                [&] {
                    said += QString::fromUtf8(source.readAllStandardOutput());
                    return said.split(u'\n').contains(line);
                },
                60000);
        };
        ASSERT_TRUE(says("ready")) << said.toStdString();
        DragSeen seen(window->windowHandle());
        pointer({"mousemove", "660", "520", "mousedown", "1"});
        ASSERT_TRUE(says("dragging")) << said.toStdString();
        // Across the field to the place, each hover answered before the next.
        for (int step = 0; step <= 4; ++step) {
            const QPoint local = from + (to - from) * step / 4;
            const QPoint global = charge->mapToGlobal(local);
            pointer({"mousemove", QString::number(global.x()), QString::number(global.y())});
            const QPoint settled = charge->mapTo(window.get(), local);
            EXPECT_TRUE(QTest::qWaitFor([&] { return seen.at.contains(settled); }, 60000))
                << "the drag reached the window at " << settled.x();
        }
        EXPECT_TRUE(row.value(7) != "copy" || says("action copy"))
            << "the source said: " << said.toStdString() << "; the field holds "
            << charge->text().toStdString();
        pointer({"mouseup", "1"});
        EXPECT_TRUE(says("result " + row.value(7))) << "the source said: " << said.toStdString();
        // A refused drag ends with no drop; a taken one is dropped after the
        // source has its result.
        const QString left = row.value(6).isEmpty() ? start : row.value(6);
        EXPECT_TRUE(QTest::qWaitFor([&] { return charge->text() == left; }, 60000));
        // The source ends only once the window has seen the drag end: a source
        // killed before its leave goes out leaves Qt's window in a drag that
        // it refused, and Qt then refuses the next drag whole.
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen.ended; }, 60000));
        source.kill();
        source.waitForFinished(60000);
        for (const QString &line : said.split(u'\n', Qt::SkipEmptyParts))
            EXPECT_TRUE(line == "ready" || line == "dragging" || line == "action copy" ||
                        line == "action ignore" || line.startsWith("result"))
                << line.toStdString();
        EXPECT_EQ(charge->text(), left);
    }
}

} // namespace
