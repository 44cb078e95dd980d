// Dialogs built from resource tables: geometry in dialog units, controls found by kind and id,
// modal execution through the scripted seam and through a real nested loop.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/support/gui/ModalScript.h"
#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/CancelButton.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/RadioButton.h"

namespace
{

class TestDialog : public ModalDialog
{
  public:
    explicit TestDialog(Window *parent = nullptr)
        : ModalDialog(parent, ResId(kTestDialog)), label(this, ResId(1)), name(this, ResId(1)),
          password(this, ResId(2)), first(this, ResId(1)), second(this, ResId(2)),
          ok(this, ResId(1)), cancel(this, ResId(1))
    {
    }
    FixedText label;
    Edit name;
    Edit password;
    RadioButton first;
    RadioButton second;
    OKButton ok;
    CancelButton cancel;
};

} // namespace

TEST(DialogUnits, ConvertQuarterCharacterWidthAcrossAndEighthLineHeightDown)
{
    QFont font = QApplication::font();
    QFontMetrics metrics(font);
    DialogUnits units(font);
    EXPECT_EQ(units.ToPixelX(4), metrics.averageCharWidth());
    EXPECT_EQ(units.ToPixelY(8), metrics.height());
    EXPECT_EQ(units.ToPixelX(90), 90 * metrics.averageCharWidth() / 4);
    EXPECT_EQ(units.ToPixelY(187), 187 * metrics.height() / 8);
    EXPECT_EQ(units.ToPixelX(0), 0);
}

TEST(Dialog, TakesTitleSizeAndControlGeometryFromItsResource)
{
    InstalledTestResources resources;
    TestDialog dialog;
    DialogUnits units;
    EXPECT_EQ(dialog.GetText(), "Test Dialog");
    EXPECT_EQ(dialog.GetSizePixel(), (Size{units.ToPixelX(160), units.ToPixelY(80)}));

    const QWidget *edit = dialog.name.Widget();
    EXPECT_EQ(edit->geometry(),
              QRect(units.ToPixelX(70), units.ToPixelY(8), units.ToPixelX(80), units.ToPixelY(12)));
    EXPECT_EQ(dialog.name.GetText(), "initial");
    EXPECT_EQ(dialog.label.GetText(), "Name:");
    EXPECT_TRUE(dialog.password.IsMasked());
    EXPECT_FALSE(dialog.name.IsMasked());
    EXPECT_EQ(dialog.first.GetText(), "&First");
}

TEST(Dialog, FindsControlsByKindAndLocalId)
{
    InstalledTestResources resources;
    TestDialog dialog;
    EXPECT_EQ(dialog.Find<Edit>(ResId(1)), &dialog.name);
    EXPECT_EQ(dialog.Find<Edit>(ResId(2)), &dialog.password);
    EXPECT_EQ(dialog.Find<FixedText>(ResId(1)), &dialog.label);
    EXPECT_EQ(dialog.Find<RadioButton>(ResId(3)), nullptr);
}

TEST(ModalSeam, ScriptActsOnTheDialogAndAnswersForIt)
{
    InstalledTestResources resources;
    ModalScript script;
    script.ExpectDialog(kTestDialog, 1,
                        [](ModalDialog &dialog) { dialog.Find<Edit>(ResId(1))->SetText("typed"); });
    TestDialog dialog;
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.name.GetText(), "typed");
    ASSERT_EQ(script.Steps().size(), 1u);
    EXPECT_EQ(script.Steps()[0].kind, ModalKind::Dialog);
    EXPECT_EQ(script.Steps()[0].title, "Test Dialog");
}

TEST(ModalSeam, RealLoopEndsWithOkAndCancelResults)
{
    InstalledTestResources resources;
    struct Case {
        bool pressOk;
        short expected;
    };
    for (Case c : {Case{true, 1}, Case{false, 0}}) {
        TestDialog dialog;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(dialog.IsInExecute());
            ASSERT_TRUE(dialog.QtDialog()->isVisible());
            (c.pressOk ? static_cast<OKButton &>(dialog.ok) : dialog.cancel).Click();
        });
        EXPECT_EQ(dialog.Execute(), c.expected);
        EXPECT_FALSE(dialog.IsInExecute());
    }
}
