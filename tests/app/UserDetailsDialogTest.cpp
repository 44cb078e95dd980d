// "User Details": masked password, fields empty for every attempt, texts handed back exactly as
// typed, and the dialog centred on the screen.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/UserDetailsDialog.h"
#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/ModalScript.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedIcon.h"
#include "toolkit/OKButton.h"
#include "toolkit/Screen.h"

namespace
{

class UserDetailsDialogTest : public InstalledResources
{
  protected:
    static QLineEdit *Field(Dialog &dialog, uint16_t id)
    {
        return static_cast<QLineEdit *>(dialog.Find<Edit>(ResId(id))->Widget());
    }
    static void Type(Dialog &dialog, const QString &name, const QString &password)
    {
        QTest::keyClicks(Field(dialog, kUserDetailsName), name);
        QTest::keyClicks(Field(dialog, kUserDetailsPassword), password);
    }
};

} // namespace

TEST_F(UserDetailsDialogTest, OpensEmptyWithAMaskedPasswordAndTheProgramIcon)
{
    UserDetailsDialog dialog(nullptr);
    EXPECT_EQ(dialog.GetText(), "User Details");
    EXPECT_EQ(dialog.GetName(), "");
    EXPECT_EQ(dialog.GetPassword().Reveal(), "");
    EXPECT_FALSE(dialog.Find<Edit>(ResId(kUserDetailsName))->IsMasked());
    EXPECT_TRUE(dialog.Find<Edit>(ResId(kUserDetailsPassword))->IsMasked());
    auto *icon = static_cast<QLabel *>(dialog.Find<FixedIcon>(ResId(kUserDetailsIcon))->Widget());
    EXPECT_FALSE(icon->pixmap().isNull());
}

TEST_F(UserDetailsDialogTest, HandsBackNameAndPasswordExactlyAsTypedWithoutShowingThePassword)
{
    const QString password = " pass Word ";
    ModalScript script;
    script.ExpectDialog(kDialogUserDetails, 1, [&](ModalDialog &shown) {
        Type(shown, "  Admin.Tech_Support.Marrowby ", password);
        EXPECT_FALSE(Field(shown, kUserDetailsPassword)->displayText().contains("pass"));
    });
    UserDetailsDialog dialog(nullptr);
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.GetName(), "  Admin.Tech_Support.Marrowby ");
    EXPECT_EQ(dialog.GetPassword().Reveal(), password.toStdString());
    // What the program records of a modal step carries no typed text.
    ASSERT_EQ(script.Steps().size(), 1u);
    EXPECT_EQ(script.Steps()[0].text, "");
    EXPECT_EQ(script.Steps()[0].title, "User Details");
}

TEST_F(UserDetailsDialogTest, EveryNewDialogStartsEmpty)
{
    ModalScript script;
    script.ExpectDialog(kDialogUserDetails, 1,
                        [](ModalDialog &shown) { Type(shown, "Admin", "secret"); });
    script.ExpectDialog(kDialogUserDetails, 0, [](ModalDialog &shown) {
        EXPECT_EQ(Field(shown, kUserDetailsName)->text(), "");
        EXPECT_EQ(Field(shown, kUserDetailsPassword)->text(), "");
    });
    for (int attempt = 0; attempt < 2; ++attempt) {
        UserDetailsDialog dialog(nullptr);
        dialog.Execute();
    }
}

// The real modal loop, ended by OK.
TEST_F(UserDetailsDialogTest, OkEndsTheRealLoopWithOne)
{
    UserDetailsDialog dialog(nullptr);
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(dialog.IsInExecute());
        Type(dialog, "", "");
        dialog.Find<OKButton>(ResId(kOKButton))->Click();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.GetName(), "");
}

TEST_F(UserDetailsDialogTest, StandsCentredOnTheScreenWithOrWithoutParent)
{
    Size screen = GetScreenSizePixel();
    PlacedWindow parent({10, 10}, {200, 100});
    for (Window *owner : {static_cast<Window *>(nullptr), static_cast<Window *>(&parent)}) {
        UserDetailsDialog dialog(owner);
        Size own = dialog.GetSizePixel();
        EXPECT_EQ(dialog.GetPosPixel(),
                  (Point{(screen.width - own.width) / 2, (screen.height - own.height) / 2}));
    }
}

TEST_F(UserDetailsDialogTest, ShowsEveryTextWhole)
{
    UserDetailsDialog dialog(nullptr);
    ExpectTextsFit(dialog);
}

TEST_F(UserDetailsDialogTest, ReasonStandsWholeBelowTheFieldsAndTheDialogStaysCentred)
{
    UserDetailsDialog dialog(nullptr);
    const Size designed = dialog.GetSizePixel();
    const int fieldsEnd = dialog.Find<OKButton>(ResId(kOKButton))->GetPosPixel().y;
    dialog.SetReason("The configured bind failed: the password file /etc/tarvik/directory-password "
                     "is readable or writable by others");
    EXPECT_EQ(dialog.GetReason().rfind("The configured bind failed", 0), 0u);
    const Size grown = dialog.GetSizePixel();
    EXPECT_EQ(grown.width, designed.width);
    EXPECT_GT(grown.height, designed.height);
    const Size screen = GetScreenSizePixel();
    EXPECT_EQ(dialog.GetPosPixel(),
              (Point{(screen.width - grown.width) / 2, (screen.height - grown.height) / 2}));
    ExpectTextsFit(dialog);
    for (QLabel *label : dialog.Widget()->findChildren<QLabel *>()) {
        if (label->accessibleName().startsWith("The configured bind failed")) {
            EXPECT_GT(label->y(), fieldsEnd);
            EXPECT_TRUE(label->isVisibleTo(dialog.Widget()));
        }
    }
    dialog.SetReason("");
    EXPECT_EQ(dialog.GetSizePixel().height, designed.height);
}
