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
#include <QPainter>
#include <QScreen>
#include <QSysInfo>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

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

// WCAG 2's contrast ratio of two colours, 1:1 to 21:1, from their relative
// luminances: (lighter + 0.05) / (darker + 0.05).
double contrast(QRgb one, QRgb other)
{
    const auto luminance = [](QRgb colour) {
        const auto linear = [](int channel) {
            const double value = channel / 255.0;
            return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
               0.0722 * linear(qBlue(colour));
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The window as the screen shows it. Qt's offscreen platform grabs no more
// than its screen's size, which the window outgrows at 200 %: there the
// window paints itself, as it paints into that screen.
QImage screenshot(QWidget *window)
{
    return QGuiApplication::platformName() == u"offscreen"
               ? window->grab().toImage()
               : window->screen()->grabWindow(window->winId()).toImage();
}

// What a control's text puts on the screen, of the window's pixels that its
// text changes: the darkest grey (0 black to 255 white), and the highest
// contrast of a pixel of the text against the same pixel without it (its
// strokes' cores against what is behind them), and the box of those pixels.
struct TextOnScreen {
    int darkest = 255;
    double contrast = 1;
    QRect box;
};

TextOnScreen textOnScreen(QWidget *control)
{
    const auto shot = [control] {
        control->repaint();
        return screenshot(control->window());
    };
    const QString text = control->property("text").toString();
    const QImage with = shot();
    control->setProperty("text", QString());
    const QImage without = shot();
    control->setProperty("text", text);
    TextOnScreen seen;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                seen.box |= QRect(x, y, 1, 1);
                seen.darkest = std::min(seen.darkest, qGray(with.pixel(x, y)));
                seen.contrast =
                    std::max(seen.contrast, contrast(with.pixel(x, y), without.pixel(x, y)));
            }
    return seen;
}

// The box of a text's pixels, drawn whole in the control's font at the
// window's scale.
QSize inkOf(QWidget *control)
{
    const QFontMetrics metrics(control->font());
    const QString text = control->property("text").toString();
    const qreal scale = control->devicePixelRatioF();
    QImage image(
        (QSizeF(metrics.horizontalAdvance(text) + 20, metrics.height() * 2) * scale).toSize(),
        QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(control->font());
        painter.drawText(10, metrics.height(), text);
    }
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box.size();
}

// The highest contrast in a tab's label against the colour that most of it
// has, its background: a tab's text cannot be taken away without the tabs
// moving.
double tabTextContrast(QTabBar *tabs, int index)
{
    const qreal scale = tabs->devicePixelRatioF();
    const QRect label = tabs->tabRect(index).adjusted(4, 3, -4, -3);
    const QRect inShot(QPointF(tabs->mapTo(tabs->window(), label.topLeft()) * scale).toPoint(),
                       QSizeF(label.size() * scale).toSize());
    const QImage shot = screenshot(tabs->window()).copy(inShot);
    std::map<QRgb, int> counts;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ++counts[shot.pixel(x, y)];
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                                return a.second < b.second;
                            })->first;
    double highest = 1;
    for (const auto &[colour, count] : counts)
        highest = std::max(highest, contrast(colour, background));
    return highest;
}

constexpr double minimumContrast = 4.5;

using Snapshot = WindowTest;

// Under Wine with its Tahoma (look_under_wine_*), each style of Windows has
// a record of its own beside the Linux build's: window_snapshot_STYLE.txt,
// and at 150 % window_snapshot_STYLE_150.txt.
TEST_F(Snapshot, WindowMatchesItsReviewedRecord)
{
    QString record = QStringLiteral(DIELEKTRA_SNAPSHOT);
    if (QSysInfo::kernelType() == u"winnt") {
        if (QGuiApplication::platformName() == u"offscreen")
            GTEST_SKIP() << "Qt's offscreen platform has no fonts on Windows; look_under_wine_*";
        // Scaled, texts take other widths, and labels sized to them too.
        const int scale = qRound(window->devicePixelRatioF() * 100);
        record.replace(QStringLiteral(".txt"),
                       QStringLiteral("_%1%2.txt")
                           .arg(QApplication::style()->name(),
                                scale == 100 ? QString() : QStringLiteral("_%1").arg(scale)));
    }
    const QByteArray now = dump(*window).toUtf8();
    QFile file(record);
    if (qEnvironmentVariableIsSet("DIELEKTRA_WRITE_SNAPSHOT")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(now) == now.size());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << record.toStdString();
    const std::string recorded = file.readAll().toStdString();
    EXPECT_EQ(now.toStdString(), recorded); // printed as a diff
    // The same window shown page by page before it has drawn anything, when
    // the pages behind the first are built as they are shown.
    MainWindow early;
    early.show();
    ASSERT_FALSE(whole(early));
    EXPECT_EQ(dump(early).toStdString(), recorded) << "shown before its first frame";
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
    // and buttons' texts on the screen are as dark as any label's. Every text
    // on the screen, the tabs' too, stands out from what is behind it by at
    // least WCAG's 4.5:1, in whatever colours the system and the style give.
    QFont unsqueezed = window->font();
    unsqueezed.setStretch(100);
    const QString longestBanner = QString::fromUtf8(design(Page::TimeConstant).banner.text);
    EXPECT_GE(window->fontMetrics().horizontalAdvance(longestBanner) * 100,
              QFontMetrics(unsqueezed).horizontalAdvance(longestBanner) * 80)
        << window->font().stretch() << " %";
    const QFontInfo face(window->font());
    const auto where = [&](QWidget *control) {
        // A unit list's line edit has no name of its own.
        QWidget *named = control->objectName().isEmpty() ? control->parentWidget() : control;
        return named->objectName().toStdString() + " in " + face.family().toStdString() + ' ' +
               std::to_string(face.pixelSize()) + " px, " +
               std::to_string(window->font().stretch()) + " %, style " +
               QApplication::style()->name().toStdString();
    };
    window->setFocus(); // no field's cursor among the text's pixels
    for (int i = 0; i < tabs()->count(); ++i) {
        tabs()->setCurrentIndex(i);
        EXPECT_GE(tabTextContrast(tabs()->tabBar(), i), minimumContrast)
            << "tab " << tabs()->tabText(i).toStdString();
        for (QWidget *control : tabs()->widget(i)->findChildren<QWidget *>()) {
            const bool field = qobject_cast<QLineEdit *>(control) != nullptr;
            const bool button = qobject_cast<QAbstractButton *>(control) != nullptr;
            auto *label = qobject_cast<QLabel *>(control);
            if (!control->isVisible() ||
                (!field && !button && (label == nullptr || label->text().isEmpty())))
                continue;
            const TextOnScreen text = textOnScreen(control);
            EXPECT_GE(text.contrast, minimumContrast) << where(control);
            if (field || button) {
                EXPECT_LE(text.darkest, 40) << where(control);
                // Whole on the screen: the style's frame and margins cut no
                // piece off (a pixel less, where an edge is drawn fainter).
                const QSize whole = inkOf(control);
                EXPECT_GE(text.box.width(), whole.width() - 1) << where(control);
                EXPECT_GE(text.box.height(), whole.height() - 1) << where(control);
            }
        }
    }
}

} // namespace
