#include "ui/about_page.h"

#include "ui/font_fit.h"
#include "ui/style.h"
#include "ui/widgets/clickable_label.h"

#include <QIcon>

namespace {

constexpr QSize bannerSize(533, 101);

// A line over the banner, white on its black.
void placeOverBanner(TabPage *page, QLabel *label, const char *name, int y, int height,
                     const QFont &font)
{
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    dielektra::style::makeTransparentWhite(label);
    page->place(label, {16, y, label->sizeHint().width(), height});
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
    };
    for (const auto &item : overBanner)
        placeOverBanner(this, new QLabel(item.text, this), item.name, item.y, item.height,
                        item.font);

    // Only the address and the edition react to a click.
    address_ = new ClickableLabel(QStringLiteral("WWW.FERROLUX.EXAMPLE"), this);
    placeOverBanner(this, address_, "Label32", 96, 13, fonts.smallBold());
    address_->setFocusPolicy(Qt::StrongFocus);
    address_->setAccessibleName(QString::fromLatin1(MakerAddress));
    connect(address_, &ClickableLabel::clicked, this, &AboutPage::addressClicked);

    edition_ = new ClickableLabel(QStringLiteral("Ferrolux edition 1 - 3"), this);
    edition_->setObjectName(QStringLiteral("Label23"));
    edition_->setFocusPolicy(Qt::StrongFocus);
    place(edition_, {440, 136, edition_->sizeHint().width(), 13});
    connect(edition_, &ClickableLabel::clicked, this, &AboutPage::editionClicked);
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
