// Window reactions dispatched from Qt's events: keys a child does not handle reach its parent,
// Tab reaches the key reaction instead of moving Qt's focus, painting goes through Paint, a
// resting pointer shows the tip the window gives for that place.
#include <QApplication>
#include <QDateTime>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QToolTip>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "toolkit/International.h"
#include "toolkit/Splitter.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Window.h"

namespace
{

class RecordingWindow : public Window
{
  public:
    using Window::Window;
    std::vector<int> keys;
    bool handle = false;
    int paints = 0;
    std::vector<Rectangle> painted;
    void KeyInput(const KeyEvent &event) override
    {
        keys.push_back(event.GetCode());
        if (!handle) {
            Window::KeyInput(event);
        }
    }
    void Paint(const Rectangle &rect) override
    {
        ++paints;
        painted.push_back(rect);
        SetFillColor(Color(COL_HIGHLIGHT));
        SetLineColor(Color(COL_HIGHLIGHT));
        DrawRect({0, 0, 9, 9});
    }
};

} // namespace

TEST(Window, UnhandledKeyOfAChildReachesItsParent)
{
    RecordingWindow parent(nullptr);
    RecordingWindow child(&parent);
    parent.handle = true;
    parent.SetSizePixel({100, 100});
    child.SetSizePixel({50, 50});
    QTest::keyClick(child.Widget(), Qt::Key_A);
    QKeyEvent backTab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::sendEvent(child.Widget(), &backTab); // Shift+Tab counts as Tab
    EXPECT_EQ(child.keys, (std::vector<int>{Qt::Key_A, KEY_TAB}));
    EXPECT_EQ(parent.keys, (std::vector<int>{Qt::Key_A, KEY_TAB}));
}

TEST(Window, PaintDrawsThroughTheWindowsOperations)
{
    RecordingWindow window(nullptr);
    window.SetSizePixel({20, 20});
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    window.Widget()->render(&image);
    EXPECT_GE(window.paints, 1);
    QColor highlight = window.Widget()->palette().color(QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(5, 5), highlight);
    EXPECT_EQ(image.pixelColor(9, 9), highlight);
    EXPECT_NE(image.pixelColor(10, 10), highlight);
}

// A one-row change repaints one band at once, not the whole window; scrolled pixels are not
// painted again, only the band they left.
TEST(Window, UpdatePaintsJustWhatIsInvalidNow)
{
    RecordingWindow window(nullptr);
    window.SetBackground(Color(COL_WORKSPACE)); // opaque, so that scrolling moves pixels
    window.SetSizePixel({200, 200});
    window.Show();
    QApplication::processEvents();
    ASSERT_FALSE(window.painted.empty());

    struct Step {
        const char *what;
        std::function<void()> change;
        std::vector<Rectangle> expected;
    };
    const Step steps[] = {
        {"one band",
         [&] {
             window.Invalidate({0, 40, 199, 59});
         },
         {{0, 40, 199, 59}}},
        {"scrolled up by 20", [&] { window.Scroll(0, -20); }, {{0, 180, 199, 199}}},
        {"a band, then scrolled",
         [&] {
             window.Invalidate({0, 40, 199, 59});
             window.Scroll(0, 20);
         },
         {{0, 0, 199, 79}}},
        {"nothing invalid", [] {}, {}},
    };
    for (const Step &step : steps) {
        window.painted.clear();
        step.change();
        window.Update();
        EXPECT_EQ(window.painted, step.expected) << step.what;
        QApplication::processEvents();
    }
}

// A window shown but not painted yet is painted whole by its first paint; Update does not paint
// it (and everything else that is dirty in its top-level window) before that.
TEST(Window, UpdateLeavesAWindowNeverPaintedToItsFirstPaint)
{
    RecordingWindow parent(nullptr);
    parent.SetBackground(Color(COL_WORKSPACE));
    parent.SetSizePixel({200, 200});
    parent.Show();
    QApplication::processEvents();
    RecordingWindow child(&parent);
    child.SetSizePixel({100, 100});
    child.Show();
    child.Invalidate({0, 0, 99, 19});
    child.Update();
    EXPECT_TRUE(child.painted.empty());
    QApplication::processEvents();
    ASSERT_EQ(child.painted.size(), 1u);
    EXPECT_EQ(child.painted[0], (Rectangle{0, 0, 99, 99}));
    child.painted.clear();
    child.Invalidate({0, 20, 99, 39});
    child.Update(); // painted once: now at once
    EXPECT_EQ(child.painted, (std::vector<Rectangle>{{0, 20, 99, 39}}));
}

TEST(Splitter, DragEndsWithinItsDragRectangleAndCallsTheSplitHandler)
{
    Window parent(nullptr);
    Splitter splitter(&parent);
    splitter.SetDragRectPixel({5, 1, 95, 50});
    std::vector<long> positions;
    splitter.SetSplitHdl([&](Splitter &s) {
        positions.push_back(s.GetSplitPosition());
        return 1L;
    });
    splitter.DragTo(40);
    splitter.DragTo(-20);
    splitter.DragTo(500);
    EXPECT_EQ(positions, (std::vector<long>{40, 5, 95}));
}

TEST(StatusBar, FieldsHoldTheirTextsAndHelpTextStandsInForThem)
{
    Window parent(nullptr);
    StatusBar bar(&parent);
    bar.SetText("Marrowby");
    bar.InsertItem(1, 200, SIB_LEFT, 5);
    bar.InsertItem(2, 400, SIB_LEFT, 5);
    bar.SetItemText(1, "Containers: 0, Objects: 0");
    EXPECT_EQ(bar.GetItemText(1), "Containers: 0, Objects: 0");
    EXPECT_EQ(bar.GetItemText(2), "");
    EXPECT_EQ(bar.GetText(), "Marrowby");
    bar.SetSizePixel({800, 20});
    bar.Resize();
    // Fields stand at the right end, in insertion order, each after its offset.
    EXPECT_EQ(bar.ItemLabel(2)->geometry().right(), 799);
    EXPECT_EQ(bar.ItemLabel(1)->geometry().left(), 800 - 610 + 5);
    bar.ShowHelpText("Exit program");
    EXPECT_TRUE(bar.ItemLabel(1)->isHidden());
    bar.ShowHelpText("");
    EXPECT_FALSE(bar.ItemLabel(1)->isHidden());
}

TEST(International, DateWithFullYearTwoBlanksThenTimeWithSeconds)
{
    // 1994-09-09 10:20:30 local time, whatever the zone and locale of the machine.
    QDateTime local(QDate(1994, 9, 9), QTime(10, 20, 30), Qt::LocalTime);
    std::string text = FormatDateTime(local.toSecsSinceEpoch());
    size_t gap = text.find("  ");
    ASSERT_NE(gap, std::string::npos) << text;
    std::string date = text.substr(0, gap);
    std::string time = text.substr(gap + 2);
    EXPECT_NE(date.find("1994"), std::string::npos) << text;
    EXPECT_NE(date.find('9'), std::string::npos) << text;
    EXPECT_NE(time.find("20"), std::string::npos) << text;
    EXPECT_NE(time.find("30"), std::string::npos) << text; // the seconds are shown
}

namespace
{
// Tips for the left half only.
class TippedWindow : public Window
{
  public:
    using Window::Window;
    std::vector<Point> asked;
    std::string ToolTipText(Point pos) const override
    {
        const_cast<TippedWindow *>(this)->asked.push_back(pos);
        return pos.x < 50 ? "left at " + std::to_string(pos.y) : "";
    }
};
} // namespace

TEST(Window, RestingPointerShowsTheTipTheWindowGivesForThatPlace)
{
    TippedWindow window(nullptr);
    window.SetSizePixel({100, 100});
    window.Show();
    QWidget *widget = window.Widget();
    QHelpEvent left(QEvent::ToolTip, QPoint(10, 30), widget->mapToGlobal(QPoint(10, 30)));
    QApplication::sendEvent(widget, &left);
    ASSERT_EQ(window.asked.size(), 1u);
    EXPECT_EQ(window.asked[0].x, 10);
    EXPECT_EQ(window.asked[0].y, 30);
    EXPECT_EQ(QToolTip::text().toStdString(), "left at 30");

    QHelpEvent right(QEvent::ToolTip, QPoint(80, 30), widget->mapToGlobal(QPoint(80, 30)));
    QApplication::sendEvent(widget, &right);
    EXPECT_EQ(window.asked.size(), 2u);
    // The tip fades out, as Qt's tips do.
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        << "no tip where the window gives none";
}
