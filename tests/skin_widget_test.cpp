#include "platform/ui/Skin.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(Skin, PicturesNamedByARelativePathAreTheFilesBesideTheSkin)
{
    TempHome home;
    home.write(QStringLiteral("Skin/look.qss"),
               "QCheckBox::indicator:checked { image: url(checkmark.png); }\n"
               "QFrame#a { background-image: url( \"pictures/back.png\" ); }\n"
               "QFrame#b { border-image: url(':/resource.png'); }\n"
               "QFrame#c { image: url(/usr/share/one.png); }\n"
               "QFrame#d { image: url(https://example.org/x.png); }\n");
    Skin skin;
    ASSERT_TRUE(skin.LoadSkin(home.file(QStringLiteral("Skin/look.qss"))));
    const QString folder = QDir(home.file(QStringLiteral("Skin"))).absolutePath();
    const QString sheet = skin.styleSheet();
    EXPECT_TRUE(sheet.contains(QStringLiteral("image: url(\"%1/checkmark.png\");").arg(folder))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("background-image: url(\"%1/pictures/back.png\");").arg(folder)));
    EXPECT_TRUE(sheet.contains(QStringLiteral("border-image: url(':/resource.png');"))) << "a resource stays";
    EXPECT_TRUE(sheet.contains(QStringLiteral("image: url(/usr/share/one.png);"))) << "an absolute path stays";
    EXPECT_TRUE(sheet.contains(QStringLiteral("image: url(https://example.org/x.png);")));

    EXPECT_FALSE(skin.LoadSkin(home.file(QStringLiteral("Skin/none.qss"))));
}

} // namespace
