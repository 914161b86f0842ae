#include "gui_support.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTabWidget>
#include <QUrl>

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class About : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        child<QTabWidget>("SSTab1")->setCurrentIndex(5);
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        WindowTest::TearDown();
    }

    UrlCatcher catcher;
};

TEST_F(About, EditionLabelShowsTheDescriptionTitledWithTheProgram)
{
    QTest::mouseClick(child<QLabel>("Label23"), Qt::LeftButton);
    ASSERT_EQ(closer.boxes.size(), 1U);
    EXPECT_EQ(closer.boxes[0].text, QStringLiteral("Výpočet kapacity, náboje, napětí, časové "
                                                   "konstanty a energie kondenzátoru"));
    EXPECT_EQ(closer.boxes[0].title, QStringLiteral("Dielektra"));
    EXPECT_EQ(closer.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(closer.boxes[0].buttons, 1);
    EXPECT_TRUE(catcher.urls.isEmpty());
}

TEST_F(About, AddressLabelOpensTheMakersSiteWithoutABox)
{
    QTest::mouseClick(child<QLabel>("Label32"), Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("https://www.ferrolux.example")));
    EXPECT_TRUE(closer.boxes.empty());

    child<QLabel>("Label32")->setFocus();
    QTest::keyClick(child<QLabel>("Label32"), Qt::Key_Space);
    EXPECT_EQ(catcher.urls.size(), 2);
}

TEST_F(About, OtherTextsAndThePictureDoNothing)
{
    for (const char *name : {"Image1", "Label24", "Label30", "Label31"})
        QTest::mouseClick(child<QLabel>(name), Qt::LeftButton);
    EXPECT_TRUE(closer.boxes.empty());
    EXPECT_TRUE(catcher.urls.isEmpty());
}

} // namespace

#include "about_test.moc"
