// Dumps every control of the window as text and compares the dump with
// tests/window_snapshot.txt, the reviewed record of the window's design.
// A change of it is a change of the design: rewrite it with
//   DIELEKTRA_WRITE_SNAPSHOT=1 ctest --test-dir build -R Snapshot
// and read the diff line by line.
#include "gui_support.h"

#include <QAccessible>
#include <QFile>
#include <QFontInfo>
#include <QMetaProperty>
#include <QScreen>
#include <QSysInfo>
#include <QTextStream>

namespace {

QString keys(const QMetaEnum &meta, int value)
{
    return QString::fromLatin1(meta.isFlag() ? meta.valueToKeys(value)
                                             : QByteArray(meta.valueToKey(value)));
}

bool named(QWidget *w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
}

// Places relative to the formula panel for its own controls, else to the tab control.
void describe(QTextStream &out, QWidget *w, QTabWidget *tabs, QWidget *page)
{
    const QPoint at = w->parentWidget() == page ? w->mapTo(tabs, QPoint()) : w->pos();
    out << w->objectName() << ' ' << w->metaObject()->className() << ' ' << at.x() << ',' << at.y()
        << ' ' << w->width() << 'x' << w->height() << (w->isVisibleTo(page) ? "" : " hidden");
    for (const char *name :
         {"text", "currentText", "currentIndex", "insertPolicy", "maxLength", "alignment",
          "frameShape", "frameShadow", "autoFillBackground", "autoDefault", "focusPolicy",
          "accessibleName", "accessibleDescription"}) {
        const QMetaProperty property =
            w->metaObject()->property(w->metaObject()->indexOfProperty(name));
        const QVariant value = property.isValid() ? property.read(w) : QVariant();
        const bool text = value.typeId() == QMetaType::QString;
        if (value.isValid() && !(text && value.toString().isEmpty()))
            out << ' ' << name << '='
                << (property.isEnumType() ? keys(property.enumerator(), value.toInt())
                    : text                ? u'"' + value.toString() + u'"'
                                          : value.toString());
    }
    const QFontInfo font(w->font());
    out << "\n  " << font.family() << ' ' << font.pixelSize() << "px "
        << (font.bold() ? "bold " : "") << w->font().stretch() << "% "
        << w->palette().color(w->foregroundRole()).name() << " on "
        << w->palette().color(w->backgroundRole()).name();
    if (auto *list = qobject_cast<QComboBox *>(w))
        for (int i = 0; i < list->count(); ++i)
            out << (i == 0 ? " items " : " ") << list->itemText(i);
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->buddy() != nullptr)
            out << " buddy " << label->buddy()->objectName();
        const bool sharp = label->pixmap().devicePixelRatio() == w->devicePixelRatio();
        if (!label->pixmap().isNull()) // at 200 % a sharp picture has twice the pixels
            out << (sharp ? " sharp picture" : " blurred picture");
        // A text needs no more room than its label has; the About texts stay on
        // the black part of the picture (left of x = 346).
        const QFontMetrics metrics = label->fontMetrics();
        if (metrics.horizontalAdvance(label->text()) > label->contentsRect().width() ||
            metrics.ascent() > label->height() || at.x() + label->width() > tabs->width() ||
            (page == tabs->widget(5) && !label->text().isEmpty() && at.y() < 133 &&
             at.x() + label->width() > 346))
            out << " CLIPPED";
    }
    if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w))
        out << " role " << keys(QMetaEnum::fromType<QAccessible::Role>(), a->role()) << " \""
            << a->text(QAccessible::Name) << "\" \"" << a->text(QAccessible::Description) << '"';
    out << '\n';
}

QString dump(MainWindow &window)
{
    QString text;
    QTextStream out(&text);
    out << window.objectName() << " \"" << window.windowTitle() << "\" " << window.width() << 'x'
        << window.height() << " min " << window.minimumWidth() << 'x' << window.minimumHeight()
        << " max " << window.maximumWidth() << 'x' << window.maximumHeight() << ' '
        << keys(QMetaEnum::fromType<Qt::WindowFlags>(),
                static_cast<int>(window.windowFlags().toInt()))
        << "\nicon";
    for (const QSize size : window.windowIcon().availableSizes())
        out << ' ' << size.width();
    // Digits typed at once go into the first field.
    out << "; Qt's own texts: " << QLineEdit::tr("&Paste") << "; focus "
        << window.focusWidget()->objectName() << '\n';
    auto *tabs = window.findChild<QTabWidget *>();
    out << "SSTab1 " << tabs->geometry().x() << ',' << tabs->y() << ' ' << tabs->width() << 'x'
        << tabs->height() << " current " << tabs->currentIndex();
    // Six tabs in one row, all within the window.
    if (tabs->tabBar()->tabRect(tabs->count() - 1).right() > tabs->width())
        out << " CLIPPED tabs";
    out << '\n';
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i); // the About page reads its picture when first shown
        QWidget *page = tabs->widget(i);
        out << "\ntab " << i << " \"" << tabs->tabText(i) << "\"\n  tab order:";
        QStringList order;
        for (QWidget *w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain())
            if (named(w) && page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) != 0)
                order += w->objectName();
        out << ' ' << order.join(u' ') << '\n';
        for (QWidget *w : page->findChildren<QWidget *>())
            if (named(w))
                describe(out, w, tabs, page);
    }
    return text;
}

// The darkest grey (0 black to 255 white) that a control's text puts on the
// screen: of the window's pixels that its text changes. Qt's offscreen
// platform grabs no more than its screen's size, which the window outgrows
// at 200 %: there the window paints itself, as it paints into that screen.
int darkestTextPixel(QWidget *control)
{
    const auto shot = [control] {
        control->repaint();
        QWidget *window = control->window();
        return QGuiApplication::platformName() == u"offscreen"
                   ? window->grab().toImage()
                   : window->screen()->grabWindow(window->winId()).toImage();
    };
    const QString text = control->property("text").toString();
    const QImage with = shot();
    control->setProperty("text", QString());
    const QImage without = shot();
    control->setProperty("text", text);
    int darkest = 255;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                darkest = std::min(darkest, qGray(with.pixel(x, y)));
    return darkest;
}

using Snapshot = WindowTest;

TEST_F(Snapshot, WindowMatchesItsReviewedRecord)
{
    if (QSysInfo::kernelType() == u"winnt")
        GTEST_SKIP() << "the record holds the Linux build's fonts and style";
    const QByteArray now = dump(*window).toUtf8();
    QFile file(QStringLiteral(DIELEKTRA_SNAPSHOT));
    if (qEnvironmentVariableIsSet("DIELEKTRA_WRITE_SNAPSHOT")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(now) == now.size());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << DIELEKTRA_SNAPSHOT;
    const std::string record = file.readAll().toStdString();
    EXPECT_EQ(now.toStdString(), record); // printed as a diff
    // The same window shown page by page before it has drawn anything, when
    // the pages behind the first are built as they are shown.
    MainWindow early;
    early.show();
    ASSERT_FALSE(whole(early));
    EXPECT_EQ(dump(early).toStdString(), record) << "shown before its first frame";
}

// Drives each page to the longest sentence it can write; then no text needs
// more room than it has, in whatever face the system resolves (ctest also
// runs this with fontconfig offering one face at a time).
TEST_F(Snapshot, EveryTextFitsItsControl)
{
    if (QSysInfo::kernelType() == u"winnt" && QGuiApplication::platformName() == u"offscreen") {
        // Where a face is expected, the run is text_fits_under_wine's.
        ASSERT_FALSE(qEnvironmentVariableIsSet("DIELEKTRA_EXPECT_FONT")) << "-platform windows";
        GTEST_SKIP() << "Qt's offscreen platform has no fonts on Windows; text_fits_under_wine";
    }
    // Where fontconfig or Wine offers some faces (ctest's text_fits_*), the
    // window is in one of those that have no serifs ("A|B"), not a fallback,
    // or its fit would say nothing of the face.
    if (const QString family = qEnvironmentVariable("DIELEKTRA_EXPECT_FONT"); !family.isEmpty()) {
        ASSERT_TRUE(family.split(u'|').contains(QFontInfo(window->font()).family()))
            << QFontInfo(window->font()).family().toStdString();
    }
    const char *const longest[] = {
        "upper=1.4E-45|upper unit=pV|lower=3.4E38|lower unit=TC",
        "upper=3.4E38|upper unit=TV|lower=3.333333E38|lower unit=TF",
        "upper=3.333333E38|upper unit=TC|lower=1.4E-45|lower unit=pF",
        "upper=3.333333E-39|upper unit=pF|lower=3.333333E-39|lower unit=pO",
        "upper=3.333333E38|upper unit=TV|lower=3.333333E38|lower unit=TF"};
    for (const Page page : allPages) {
        showPage(page);
        set(page, longest[page]);
        QTest::mouseClick(button(page), Qt::LeftButton);
    }
    resultNote()->show();
    EXPECT_TRUE(closer.boxes.empty());
    for (const QString &line : dump(*window).split(u'\n'))
        EXPECT_FALSE(line.contains(u"CLIPPED")) << line.toStdString();
    // Squeezed further, a face's strokes go faint and its letters touch: the
    // longest banner keeps at least 80 % of its own width, and the fields'
    // and buttons' texts on the screen are as dark as any label's.
    QFont unsqueezed = window->font();
    unsqueezed.setStretch(100);
    const QString longestBanner = QString::fromUtf8(design(Page::TimeConstant).banner.text);
    EXPECT_GE(window->fontMetrics().horizontalAdvance(longestBanner) * 100,
              QFontMetrics(unsqueezed).horizontalAdvance(longestBanner) * 80)
        << window->font().stretch() << " %";
    const QFontInfo face(window->font());
    window->setFocus(); // no field's cursor among the text's pixels
    for (const Page page : allPages) {
        showPage(page);
        for (QWidget *control : tabs()->currentWidget()->findChildren<QWidget *>())
            if (qobject_cast<QLineEdit *>(control) != nullptr ||
                qobject_cast<QAbstractButton *>(control) != nullptr) {
                // A unit list's line edit has no name of its own.
                QWidget *named =
                    control->objectName().isEmpty() ? control->parentWidget() : control;
                EXPECT_LE(darkestTextPixel(control), 40)
                    << named->objectName().toStdString() << " in " << face.family().toStdString()
                    << ' ' << face.pixelSize() << " px, " << window->font().stretch() << " %";
            }
    }
}

} // namespace
