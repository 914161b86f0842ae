#pragma once

#include "ui/widgets/tab_page.h"

class ClickableLabel;
class QLabel;
namespace dielektra {
struct FontFit;
} // namespace dielektra

// The sixth page: the banner with the program's title, rights, credits and
// the maker's address over it, and the edition label below.
class AboutPage : public TabPage {
    Q_OBJECT
public:
    // A reserved example domain: the maker's real address is not known.
    static constexpr auto MakerAddress = "https://www.ferrolux.example";

    // An empty page: its controls come with addControls.
    explicit AboutPage(QWidget *tabControl);

    void addControls(const dielektra::FontFit &fonts);

    // The maker's address and the edition label; none before addControls.
    ClickableLabel *address() const { return address_; }
    ClickableLabel *edition() const { return edition_; }

signals:
    void editionClicked();
    void addressClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *image_ = nullptr;
    ClickableLabel *address_ = nullptr;
    ClickableLabel *edition_ = nullptr;
};
