// "Set Top Context": the field shows the context it was given, hands back exactly what was typed,
// and the dialog stands centred over the main window.
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/SetTopContextDialog.h"
#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/ModalScript.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/CancelButton.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedText.h"

namespace
{

class SetTopContextDialogTest : public InstalledResources
{
  protected:
    static QLineEdit *Field(Dialog &dialog)
    {
        return static_cast<QLineEdit *>(dialog.Find<Edit>(ResId(kSetTopContextEdit))->Widget());
    }
    static void Retype(Dialog &dialog, const QString &text)
    {
        Field(dialog)->selectAll();
        QTest::keyClicks(Field(dialog), text);
    }

    PlacedWindow mainWindow{{120, 80}, {640, 480}};
};

} // namespace

TEST_F(SetTopContextDialogTest, FieldHoldsTheContextItWasGiven)
{
    SetTopContextDialog dialog(&mainWindow);
    EXPECT_EQ(dialog.GetText(), "Set Top Context");
    EXPECT_EQ(dialog.Find<FixedText>(ResId(kSetTopContextPrompt))->GetText(), "Enter new context:");
    for (const std::string context : {"Marrowby", "Sales.Marrowby", ""}) {
        dialog.SetContext(context);
        EXPECT_EQ(Field(dialog)->text().toStdString(), context);
        EXPECT_EQ(dialog.GetContext(), context);
    }
}

TEST_F(SetTopContextDialogTest, HandsBackExactlyWhatWasTyped)
{
    ModalScript script;
    script.ExpectDialog(kDialogSetTopContext, 1,
                        [](ModalDialog &shown) { Retype(shown, "  Sales .Marrowby "); });
    SetTopContextDialog dialog(&mainWindow);
    dialog.SetContext("Marrowby");
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.GetContext(), "  Sales .Marrowby ");
    ASSERT_EQ(script.Steps().size(), 1u);
    EXPECT_EQ(script.Steps()[0].parent, &mainWindow);
}

// The real modal loop: typing, then Cancel, ends with 0; the caller's text is its own.
TEST_F(SetTopContextDialogTest, CancelEndsWithZeroAndLeavesTheCallersTextAlone)
{
    const std::string topContext = "Marrowby";
    SetTopContextDialog dialog(&mainWindow);
    dialog.SetContext(topContext);
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(dialog.IsInExecute());
        Retype(dialog, "Elsewhere");
        dialog.Find<CancelButton>(ResId(kCancelButton))->Click();
    });
    EXPECT_EQ(dialog.Execute(), 0);
    EXPECT_EQ(topContext, "Marrowby");
}

TEST_F(SetTopContextDialogTest, StandsCentredOverTheMainWindow)
{
    for (Point place : {Point{120, 80}, Point{-50, 900}}) {
        mainWindow.SetPosPixel(place);
        SetTopContextDialog dialog(&mainWindow);
        Size own = dialog.GetSizePixel();
        EXPECT_EQ(dialog.GetPosPixel(),
                  (Point{place.x + (640 - own.width) / 2, place.y + (480 - own.height) / 2}));
    }
}

TEST_F(SetTopContextDialogTest, ShowsEveryTextWhole)
{
    SetTopContextDialog dialog(&mainWindow);
    ExpectTextsFit(dialog);
}
