#include "foundation/Settings.h"
#include "mainwindow/Favourites.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/QuestionFont.h"
#include "mainwindow/UpdateCheck.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempSettings.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

class MenuSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { resetMainWindowShared(); }
    void TearDown() override { resetMainWindowShared(); }
    TempSettings settings;
};

} // namespace

TEST_F(MenuSettingsTest, FontChoiceIsStoredAsTextAndReadBackAtTheNextLoad)
{
    // Nothing stored: the setup.xml face at 10 points, plain.
    const QuestionFont fresh = questionFontAtLoad(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(fresh.face, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(fresh.size, 10.0);
    EXPECT_FALSE(fresh.bold);
    EXPECT_FALSE(fresh.italic);

    EXPECT_TRUE(SetFontsSettings2Registry(QStringLiteral("Liberation Serif"), QStringLiteral("14"), true, false));
    EXPECT_EQ(gMain.gFontFace, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(gMain.gFontSize, 14.0);
    EXPECT_TRUE(gMain.gFontBold);
    EXPECT_FALSE(gMain.gFontItalic);

    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontName")),
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontSize")), QStringLiteral("14"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontBold")), QStringLiteral("True"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontItalic")), QStringLiteral("False"));
    const QString file = settings.fileText();
    EXPECT_TRUE(file.contains(QStringLiteral("[Ziduver]"))) << file.toStdString();
    EXPECT_TRUE(file.contains(QStringLiteral("FontBold=True"))) << "the words, not Qt's true";

    // The next load of the main window starts from the stored choice.
    resetMainWindowShared();
    gMain.gFontFace = QStringLiteral("DejaVu Sans");
    applyStoredQuestionFont();
    EXPECT_EQ(gMain.gFontFace, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(gMain.gFontSize, 14.0);
    EXPECT_TRUE(gMain.gFontBold);
    const QuestionFont next = questionFontAtLoad(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(next.face, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(next.size, 14.0);
    EXPECT_TRUE(next.bold);
    EXPECT_FALSE(next.italic);
}

TEST_F(MenuSettingsTest, StoredSizeThatIsNoNumberKeepsTheDefault)
{
    const std::vector<std::pair<const char*, double>> table = {
        {"12", 12.0}, {"10.5", 10.5}, {"", 10.0}, {"big", 10.0}, {"0", 10.0}, {"-3", 10.0}, {"16pt", 16.0},
    };
    for (const auto& [text, size] : table) {
        ASSERT_TRUE(
            SaveRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontSize"), QString::fromLatin1(text)));
        EXPECT_EQ(questionFontAtLoad(QStringLiteral("F")).size, size) << text;
    }
    SaveRegistrySetting(QStringLiteral("Ziduver"), QStringLiteral("FontName"), QStringLiteral("   "));
    EXPECT_EQ(questionFontAtLoad(QStringLiteral("F")).face, QStringLiteral("F")) << "a blank face keeps the default";
}

TEST_F(MenuSettingsTest, SizeTextsAndValues)
{
    EXPECT_EQ(fontSizeText(10.0), QStringLiteral("10"));
    EXPECT_EQ(fontSizeText(10.5), QStringLiteral("10.5"));
    EXPECT_EQ(fontSizeValue(QStringLiteral("12")), 12.0);
    EXPECT_EQ(fontSizeValue(QStringLiteral(" 9.5 ")), 9.5);
    EXPECT_EQ(fontSizeValue(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(fontSizeValue(QString()), 0.0);
    EXPECT_EQ(fontSizeNames({6, 8, 8, 0, 12}), (QStringList{"6", "8", "12"}));
}

TEST_F(MenuSettingsTest, FontFamiliesWithoutFoundriesEachOnce)
{
    EXPECT_EQ(fontFamilyNames({"DejaVu Sans", "Noto Sans [GOOG]", "Noto Sans [Monotype]", "DejaVu Sans", "Serif",
                               "Fira [x] Code", "  "}),
              (QStringList{"DejaVu Sans", "Noto Sans", "Serif", "Fira [x] Code"}));
}

TEST_F(MenuSettingsTest, FavouriteTextsMarkEveryEntryAndSkipTheSeparatorAndHiddenOnes)
{
    EXPECT_EQ(favouriteTexts(initialFavourites()).captions, QString());
    EXPECT_EQ(favouriteTexts(initialFavourites()).tags, QString());

    FavouriteList list = initialFavourites();
    list.push_back({QStringLiteral("Kernel docs"), QStringLiteral("https://www.kernel.org/doc/"), true});
    list.push_back({QStringLiteral("Hidden"), QStringLiteral("https://hidden.example/"), false});
    list.push_back({QStringLiteral("Guide"), QStringLiteral("[localpath]guide.htm"), true});
    const FavouriteTexts texts = favouriteTexts(list);
    EXPECT_EQ(texts.captions, QStringLiteral("Kernel docs[CAP]Guide[CAP]"));
    EXPECT_EQ(texts.tags, QStringLiteral("https://www.kernel.org/doc/[TAG][localpath]guide.htm[TAG]"));
}

TEST_F(MenuSettingsTest, FavouritesStoredUnderTheLoginEvenWhenEmpty)
{
    EXPECT_TRUE(storeFavourites(QStringLiteral("STUDENT"), initialFavourites()));
    const QString file = settings.fileText();
    EXPECT_TRUE(file.contains(QStringLiteral("[STUDENT]"))) << file.toStdString();
    EXPECT_TRUE(file.contains(QStringLiteral("MenuItemsCaption=")));
    EXPECT_TRUE(file.contains(QStringLiteral("MenuItemsTag=")));
    EXPECT_LT(file.indexOf(QStringLiteral("MenuItemsCaption")), file.indexOf(QStringLiteral("MenuItemsTag")));

    FavouriteList list = initialFavourites();
    list.push_back({QStringLiteral("A, B"), QStringLiteral("https://a.example/"), true});
    EXPECT_TRUE(storeFavourites(QStringLiteral("STUDENT"), list));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("STUDENT"), QStringLiteral("MenuItemsCaption")),
              QStringLiteral("A, B[CAP]"));
}

TEST_F(MenuSettingsTest, SlashesInALoginDoNotNestSections)
{
    EXPECT_EQ(loginSection(QStringLiteral("A/B\\C%D")), QStringLiteral("A%2FB%5CC%25D"));
    FavouriteList list = initialFavourites();
    list.push_back({QStringLiteral("X"), QStringLiteral("https://x.example/"), true});
    ASSERT_TRUE(storeFavourites(QStringLiteral("DEPT/ALICE"), list));
    EXPECT_EQ(GetRegistrySetting(loginSection(QStringLiteral("DEPT/ALICE")), QStringLiteral("MenuItemsCaption")),
              QStringLiteral("X[CAP]"));
    EXPECT_EQ(GetRegistrySetting(QStringLiteral("DEPT"), QStringLiteral("ALICE/MenuItemsCaption")), QString());
    ASSERT_TRUE(storeFavourites(QStringLiteral("DEPT%2FALICE"), initialFavourites()));
    EXPECT_EQ(GetRegistrySetting(loginSection(QStringLiteral("DEPT/ALICE")), QStringLiteral("MenuItemsCaption")),
              QStringLiteral("X[CAP]"))
        << "a login that looks encoded is another user";
}

TEST_F(MenuSettingsTest, UnwritableStoreIsReported)
{
    // The settings file is a folder: nothing can be written there.
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ziduver"), QStringLiteral("Ziduver"))
            .fileName();
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_FALSE(SetFontsSettings2Registry(QStringLiteral("Serif"), QStringLiteral("12"), false, false));
    EXPECT_EQ(gMain.gFontFace, QStringLiteral("Serif")) << "the globals take the choice anyway";
    EXPECT_FALSE(storeFavourites(QStringLiteral("STUDENT"), initialFavourites()));
}

// The update-check request: keys in order, the engine type trimmed, values
// percent-encoded, empty values kept as "key=".
TEST(UpdateCheck, RequestUrlTable)
{
    struct Case {
        QString type, version, product, productVersion, expected;
    };
    const QString base = QStringLiteral("http://127.0.0.1:9/");
    const std::vector<Case> cases = {
        {"ZDV", "1.0.0", "LSA101", "2.3",
         "http://127.0.0.1:9/checkversion.php?enginetype=ZDV&engineversion=1.0.0&productid=LSA101&productversion=2.3"},
        {"  ZDV  ", " 1.0 ", " P1 ", "4 ",
         "http://127.0.0.1:9/checkversion.php?enginetype=ZDV&engineversion=%201.0%20&productid=%20P1%20"
         "&productversion=4%20"},
        {"", "", "", "", "http://127.0.0.1:9/checkversion.php?enginetype=&engineversion=&productid=&productversion="},
        {"A&B", "1=2", "x?y#z", "caf\u00e9/1",
         "http://127.0.0.1:9/checkversion.php?enginetype=A%26B&engineversion=1%3D2&productid=x%3Fy%23z"
         "&productversion=caf%C3%A9%2F1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(updateCheckUrl(base, c.type, c.version, c.product, c.productVersion), c.expected);
    EXPECT_TRUE(QString::fromLatin1(kUpdateServerAddress).endsWith(QLatin1Char('/')));
}
