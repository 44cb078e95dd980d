// "About TARVIK": version line from the string resource, the five notice lines, the picture, and
// a fresh dialog centred over the main window at every opening.
#include <QTimer>
#include <gtest/gtest.h>

#include "app/AboutDialog.h"
#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/ModalScript.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/BitmapButton.h"
#include "toolkit/FixedText.h"
#include "toolkit/OKButton.h"
#include "toolkit/Resource.h"

namespace
{

class AboutDialogTest : public InstalledResources
{
  protected:
    static Point CentreOver(const Window &parent, const Window &dialog)
    {
        Point at = parent.GetPosPixel();
        Size outer = parent.GetSizePixel();
        Size own = dialog.GetSizePixel();
        return {at.x + (outer.width - own.width) / 2, at.y + (outer.height - own.height) / 2};
    }

    PlacedWindow mainWindow{{100, 100}, {800, 600}};
};

} // namespace

TEST_F(AboutDialogTest, ShowsTheVersionTheNoticeAndThePicture)
{
    AboutDialog dialog(&mainWindow);
    EXPECT_EQ(dialog.GetText(), "About TARVIK");
    EXPECT_EQ(dialog.Find<FixedText>(ResId(kAboutVersion))->GetText(),
              "Version 1.0 (Pre-release 2)");
    const DialogResource *resource = Resources::Dialog(ResId(kDialogAbout));
    for (uint16_t id = kAboutFirstNotice; id <= kAboutLastNotice; ++id) {
        const ControlResource *line = resource->controls.data();
        while (line->kind != ControlKind::FixedText || line->id != id) {
            ++line;
        }
        EXPECT_FALSE(line->text.empty());
        EXPECT_EQ(dialog.Find<FixedText>(ResId(id))->GetText(), line->text) << id;
    }
    EXPECT_TRUE(dialog.Find<BitmapButton>(ResId(kAboutPicture))->HasPicture());
}

TEST_F(AboutDialogTest, EveryOpeningIsAFreshDialogCentredWhereTheMainWindowNowIs)
{
    ModalScript script;
    std::vector<const ModalDialog *> shown;
    auto check = [&](ModalDialog &dialog) {
        shown.push_back(&dialog);
        EXPECT_EQ(dialog.GetPosPixel(), CentreOver(mainWindow, dialog));
    };
    script.ExpectDialog(kDialogAbout, 1, check).ExpectDialog(kDialogAbout, 1, check);

    for (Point place : {Point{100, 100}, Point{640, 20}}) {
        mainWindow.SetPosPixel(place);
        auto dialog = std::make_unique<AboutDialog>(&mainWindow);
        EXPECT_EQ(dialog->Execute(), 1);
    }
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(script.Steps()[1].parent, &mainWindow);
}

TEST_F(AboutDialogTest, StandsAboveAndLeftOfASmallerMainWindow)
{
    PlacedWindow small({500, 400}, {60, 40});
    AboutDialog dialog(&small);
    EXPECT_EQ(dialog.GetPosPixel(), CentreOver(small, dialog));
    EXPECT_LT(dialog.GetPosPixel().x, 500);
    EXPECT_LT(dialog.GetPosPixel().y, 400);
}

// The real modal loop, closed by OK from a timer.
TEST_F(AboutDialogTest, OkClosesTheRealModalLoop)
{
    AboutDialog dialog(&mainWindow);
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(dialog.IsInExecute());
        ASSERT_TRUE(dialog.IsVisible());
        dialog.Find<OKButton>(ResId(kOKButton))->Click();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_FALSE(dialog.IsVisible());
}

TEST_F(AboutDialogTest, ShowsEveryTextWhole)
{
    AboutDialog dialog(&mainWindow);
    ExpectTextsFit(dialog);
}
