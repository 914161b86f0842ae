#include "ui/about_page.h"

#include "ui/font_fit.h"
#include "ui/style.h"
#include "ui/widgets/clickable_label.h"

#include <QIcon>

#include <string_view>

namespace {

constexpr QSize bannerSize(533, 101);

// Only the address and the edition react to a click.
QLabel *aboutLabel(QWidget *parent, const char *name, const QString &text, bool clickable)
{
    auto *label = clickable ? new ClickableLabel(text, parent) : new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

AboutPage::AboutPage(QWidget *tabControl) : TabPage(tabControl) {}

void AboutPage::addControls(const dielektra::FontFit &fonts)
{
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setAccessibleName(QStringLiteral("Kondenzátor 4700 µF, 63 V"));
    place(image_, {{8, 32}, bannerSize});

    const struct {
        const char *name;
        QString text;
        int y, height;
        QFont font;
    } overBanner[] = {
        {"Label24", QStringLiteral("Dielektra v" DIELEKTRA_SHORT_VERSION "."), 40, 16,
         fonts.bold()},
        {"Label30", QStringLiteral("© 2026 vývojáři programu Dielektra. Šířeno pod licencí MIT."),
         64, 13, fonts.regular()},
        {"Label31",
         QStringLiteral("Napsali vývojáři Dielektry pro všechny, kdo pracují s kondenzátory."), 80,
         13, fonts.regular()},
        {"Label32", QStringLiteral("WWW.FERROLUX.EXAMPLE"), 96, 13, fonts.smallBold()},
    };
    for (const auto &item : overBanner) {
        QLabel *label =
            aboutLabel(this, item.name, item.text, std::string_view(item.name) == "Label32");
        label->setFont(item.font);
        dielektra::style::makeTransparentWhite(label);
        place(label, {16, item.y, label->sizeHint().width(), item.height});
    }

    auto *address = findChild<ClickableLabel *>(QStringLiteral("Label32"));
    address->setFocusPolicy(Qt::StrongFocus);
    address->setAccessibleName(QString::fromLatin1(MakerAddress));
    connect(address, &ClickableLabel::clicked, this, &AboutPage::addressClicked);

    auto *edition = static_cast<ClickableLabel *>(
        aboutLabel(this, "Label23", QStringLiteral("Ferrolux edition 1 - 3"), true));
    edition->setFocusPolicy(Qt::StrongFocus);
    place(edition, {440, 136, edition->sizeHint().width(), 13});
    connect(edition, &ClickableLabel::clicked, this, &AboutPage::editionClicked);
}

void AboutPage::showEvent(QShowEvent *event)
{
    // The banner is read when the page is first shown: most starts never
    // show it, and reading it costs a JPEG decoder.
    if (image_ != nullptr && image_->pixmap().isNull()) {
        // Through QIcon, so that banner@2x.jpg serves screens scaled above 100 %.
        image_->setPixmap(QIcon(QStringLiteral(":/dielektra/banner.jpg")).pixmap(bannerSize));
    }
    TabPage::showEvent(event);
}
