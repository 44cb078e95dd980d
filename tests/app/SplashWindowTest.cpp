// The splash window: version line, centred on the screen, hidden by its own timer without
// touching the main window.
#include <QAccessible>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

#include "app/SplashWindow.h"
#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/PlacedWindow.h"
#include "tests/support/gui/TextFitChecks.h"
#include "toolkit/BitmapButton.h"
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

// The window has no title bar: assistive tools would otherwise read a window without a name.
TEST_F(SplashWindowTest, AssistiveToolsReadTheProgramAndItsVersionAsItsName)
{
    SplashWindow splash(&mainWindow);
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(splash.FrameWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->text(QAccessible::Name).toStdString(), "TARVIK Version 1.0 (Pre-release 2)");
}

// No band of the window's ground above the picture, nor between it and the version line.
TEST_F(SplashWindowTest, ThePictureFillsTheTopOfTheWindowWithTheVersionRightBelow)
{
    SplashWindow splash(&mainWindow);
    QWidget *frame = splash.FrameWidget();
    QImage image(frame->size(), QImage::Format_RGB32);
    frame->render(&image);
    const QColor ground = frame->palette().color(QPalette::Window);
    for (int y : {0, 2, 5}) {
        EXPECT_NE(image.pixelColor(image.width() / 2, y), ground) << "row " << y;
    }
    const BitmapButton &picture = *splash.Find<BitmapButton>(ResId(kSplashPicture));
    const FixedText &version = *splash.Find<FixedText>(ResId(kSplashVersion));
    EXPECT_EQ(picture.GetPosPixel().y, 0);
    EXPECT_EQ(picture.GetSizePixel().height, picture.FittedHeight());
    EXPECT_LE(version.GetPosPixel().y - (picture.GetPosPixel().y + picture.FittedHeight()),
              version.GetSizePixel().height / 2);
    EXPECT_GE(splash.GetSizePixel().height,
              version.GetPosPixel().y + version.GetSizePixel().height);
}
