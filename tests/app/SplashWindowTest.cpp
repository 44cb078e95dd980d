// The splash window: version line, centred on the screen, hidden by its own timer without
// touching the main window.
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

#include "app/SplashWindow.h"
#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/FixedText.h"
#include "toolkit/Screen.h"

namespace
{
class SplashWindowTest : public InstalledResources
{
  protected:
    PlacedWindow mainWindow{{100, 100}, {800, 600}};
};
} // namespace

TEST_F(SplashWindowTest, ShowsTheVersionCentredOnTheScreenWithoutBlocking)
{
    SplashWindow splash(&mainWindow);
    EXPECT_EQ(splash.Find<FixedText>(ResId(kSplashVersion))->GetText(),
              "Version 1.0 (Pre-release 2)");
    EXPECT_FALSE(splash.QtDialog()->isModal());
    Size screen = GetScreenSizePixel();
    Size own = splash.GetSizePixel();
    EXPECT_EQ(splash.GetPosPixel(),
              (Point{(screen.width - own.width) / 2, (screen.height - own.height) / 2}));
}

TEST_F(SplashWindowTest, TimerRunsFourSecondsOnceFromConstruction)
{
    SplashWindow splash(&mainWindow);
    EXPECT_EQ(splash.CloseTimer().GetTimeout(), 4000);
    EXPECT_TRUE(splash.CloseTimer().IsActive());
}

TEST_F(SplashWindowTest, HidesWhenItsTimerFiresAndLeavesTheMainWindowShown)
{
    mainWindow.Show();
    SplashWindow splash(&mainWindow);
    splash.Show();
    ASSERT_TRUE(splash.IsVisible());
    splash.CloseTimer().SetTimeout(10);
    splash.CloseTimer().Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.IsVisible(); }, 2000));
    EXPECT_FALSE(splash.CloseTimer().IsActive());
    EXPECT_TRUE(mainWindow.IsVisible());
    // The window still exists and keeps its texts until start-up's scope ends.
    EXPECT_EQ(splash.Find<FixedText>(ResId(kSplashVersion))->GetText(),
              "Version 1.0 (Pre-release 2)");
}

TEST_F(SplashWindowTest, ShowsTheVersionWhole)
{
    SplashWindow splash(&mainWindow);
    ExpectTextsFit(splash);
}
