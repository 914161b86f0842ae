// Dumps every control of the window as text and compares the dump with
// tests/window_snapshot.txt, the reviewed record of the window's design.
// A change of it is a change of the design: rewrite it with
//   DIELEKTRA_WRITE_SNAPSHOT=1 ctest --test-dir build -R Snapshot
// and read the diff line by line.
#include "gui_support.h"

#include <QAccessible>
#include <QFile>
#include <QFontInfo>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

namespace {

QString keys(const QMetaEnum &meta, int value)
{
    return QString::fromLatin1(meta.isFlag() ? meta.valueToKeys(value)
                                             : QByteArray(meta.valueToKey(value)));
}

template <typename Enum> QString keys(Enum value)
{
    return keys(QMetaEnum::fromType<Enum>(), static_cast<int>(value));
}

bool named(QWidget *w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
}

// Places relative to the formula panel for its own controls, else to the tab control.
void describe(QTextStream &out, QWidget *w, QWidget *tabs, QWidget *page)
{
    const QPoint at = w->parentWidget() == page ? w->mapTo(tabs, QPoint()) : w->pos();
    out << w->objectName() << ' ' << w->metaObject()->className() << ' ' << at.x() << ',' << at.y()
        << ' ' << w->width() << 'x' << w->height() << (w->isVisibleTo(page) ? "" : " hidden");
    for (const char *name : {"text", "currentText", "currentIndex", "maxLength", "alignment",
                             "frameShape", "frameShadow", "autoFillBackground", "autoDefault",
                             "focusPolicy", "accessibleName", "accessibleDescription"}) {
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
    // At 200 % a sharp picture has twice the pixels.
    if (auto *label = qobject_cast<QLabel *>(w); label && !label->pixmap().isNull())
        out << " picture " << label->pixmap().width() / label->pixmap().devicePixelRatio() << 'x'
            << label->pixmap().height() / label->pixmap().devicePixelRatio()
            << (label->pixmap().devicePixelRatio() == w->devicePixelRatio() ? " sharp"
                                                                            : " blurred");
    if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w))
        out << " role " << keys(a->role()) << " \"" << a->text(QAccessible::Name) << "\" \""
            << a->text(QAccessible::Description) << '"';
    out << '\n';
}

QString dump(Form1 &window)
{
    QString text;
    QTextStream out(&text);
    out << window.objectName() << " \"" << window.windowTitle() << "\" " << window.width() << 'x'
        << window.height() << " min " << window.minimumWidth() << 'x' << window.minimumHeight()
        << " max " << window.maximumWidth() << 'x' << window.maximumHeight() << ' '
        << keys(window.windowFlags()) << "\nicon";
    for (const QSize size : window.windowIcon().availableSizes())
        out << ' ' << size.width();
    // Digits typed at once go into the first field.
    out << "; Qt's own texts: " << QLineEdit::tr("&Paste") << "; focus "
        << window.focusWidget()->objectName() << '\n';
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    out << "SSTab1 " << tabs->geometry().x() << ',' << tabs->y() << ' ' << tabs->width() << 'x'
        << tabs->height() << " current " << tabs->currentIndex() << '\n';
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i); // the About page reads its picture when first shown
        QWidget *page = tabs->widget(i);
        out << "\ntab " << i << " \"" << tabs->tabText(i) << "\"\n  tab order:";
        QStringList order;
        for (QWidget *w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
            QWidget *control = w;
            while (!named(control))
                control = control->parentWidget();
            if (page->isAncestorOf(control) && (control->focusPolicy() & Qt::TabFocus) &&
                !order.contains(control->objectName()))
                order += control->objectName();
        }
        out << ' ' << order.join(u' ') << '\n';
        for (QWidget *w : page->findChildren<QWidget *>())
            if (named(w))
                describe(out, w, tabs, page);
    }
    return text;
}

using Snapshot = WindowTest;

TEST_F(Snapshot, WindowMatchesItsReviewedRecord)
{
    const QStringList now = dump(window).split(u'\n');
    QFile file(QStringLiteral(DIELEKTRA_SNAPSHOT));
    if (qEnvironmentVariableIsSet("DIELEKTRA_WRITE_SNAPSHOT")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(now.join(u'\n').toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << DIELEKTRA_SNAPSHOT;
    const QStringList recorded = QString::fromUtf8(file.readAll()).split(u'\n');
    for (qsizetype i = 0; i < std::max(now.size(), recorded.size()); ++i)
        ASSERT_EQ(now.value(i), recorded.value(i)) << "line " << i + 1 << " of the record";
}

} // namespace
