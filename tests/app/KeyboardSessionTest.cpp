// A whole session with the keyboard alone, every key sent to whatever holds the focus, as a user
// without a mouse works: open a container, mark two objects, pick a version, run the restore
// through the menu and its real dialogs, and read the results as an assistive tool reads them.
#include <QApplication>
#include <QTimer>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/AccessibleEventLog.h"

namespace
{

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget *target = QApplication::activePopupWidget();
    if (!target) {
        target = QApplication::focusWidget();
    }
    ASSERT_NE(target, nullptr) << "nothing has the keyboard";
    QTest::keyClick(target, key, modifiers);
}

// Acts on the modal windows as they come up, in order: each action gets the window once it is
// the active modal one. A window still up after ten seconds is closed, so that a step that never
// came ends the loop and the test fails instead of hanging.
class ModalDriver
{
  public:
    using Action = std::function<void(QWidget &modal)>;

    explicit ModalDriver(std::deque<Action> actions) : actions_(std::move(actions))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
        giveUp_.setSingleShot(true);
        QObject::connect(&giveUp_, &QTimer::timeout, [] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        giveUp_.start(10000);
    }
    size_t Pending() const { return actions_.size(); }

  private:
    void Poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == last_ || actions_.empty() || !modal->isActiveWindow()) {
            return;
        }
        last_ = modal;
        Action action = std::move(actions_.front());
        actions_.pop_front();
        action(*modal);
    }

    std::deque<Action> actions_;
    QTimer timer_;
    QTimer giveUp_;
    QWidget *last_ = nullptr;
};

// The names of the accessible descendants of a window with this role, depth first.
void CollectNames(QAccessibleInterface *iface, QAccessible::Role role,
                  std::vector<std::string> &names)
{
    for (int i = 0; iface && i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (!child) {
            continue;
        }
        if (child->role() == role) {
            names.push_back(AccessibleName(child));
        }
        CollectNames(child, role, names);
    }
}

} // namespace

TEST(KeyboardSession, OpenMarkPickRestoreAndReadTheResultsWithoutAMouse)
{
    MainWindowFixture f;
    f.script.SetHistory("Ann.Sales.Marrowby", {300, 100, 200});
    f.window->FrameWidget()->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), f.Rows()) << "the tree view has the keyboard";

    // Rows: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales; opening Sales adds 4 Ann, 5 Bob, 6 East.
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_Down);
    }
    Key(Qt::Key_Return);
    ASSERT_EQ(f.window->ObjectForest().TotalCount(), 7u);
    Key(Qt::Key_Down);
    Key(Qt::Key_Plus); // Ann
    Key(Qt::Key_Down);
    Key(Qt::Key_Plus); // Bob
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 2");

    // Pick Ann's version of time 200 in the history view.
    Key(Qt::Key_Up);
    Key(Qt::Key_Space);
    ASSERT_EQ(f.window->VersionList().TotalCount(), 3u);
    Key(Qt::Key_Tab);
    ASSERT_TRUE(f.History().HasFocusHighlight());
    Key(Qt::Key_Down);
    Key(Qt::Key_Plus);
    EXPECT_EQ(f.ItemAt(4)->ChosenVersion(), 200u);
    Key(Qt::Key_Tab);
    ASSERT_TRUE(f.Tree().HasFocusHighlight());

    // Operations > Restore..., confirmed with Return; the results are read, then closed.
    std::vector<std::string> options;
    std::vector<std::string> results;
    ModalDriver driver({
        [&options](QWidget &modal) {
            CollectNames(AccessibleOf(&modal), QAccessible::StaticText, options);
            Key(Qt::Key_Return);
        },
        [&results](QWidget &modal) {
            CollectNames(AccessibleOf(&modal), QAccessible::ListItem, results);
            Key(Qt::Key_Return);
        },
    });
    Key(Qt::Key_O, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "Alt+O opens the Operations menu";
    Key(Qt::Key_R);
    EXPECT_EQ(driver.Pending(), 0u);

    EXPECT_NE(std::find(options.begin(), options.end(), "Containers:"), options.end());
    EXPECT_NE(std::find(options.begin(), options.end(), "2"), options.end()) << "leaf count";
    // Read as restored in words, not only through the picture.
    EXPECT_EQ(results, (std::vector<std::string>{"restored: Ann.Sales.Marrowby",
                                                 "restored: Bob.Sales.Marrowby"}));
    const std::vector<LoggedRequest> restored = f.script.RequestsOf(RestoreObject);
    ASSERT_EQ(restored.size(), 2u);
    EXPECT_EQ(restored[0].name, "Ann.Sales.Marrowby");
    EXPECT_EQ(restored[0].version, 200u);
    EXPECT_EQ(restored[1].name, "Bob.Sales.Marrowby");
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
    // Active again (the desktop does this when a dialog closes), the window has the keyboard
    // in the tree view, where Tab had put it.
    f.window->FrameWidget()->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.Tree().GetTitleBar().Widget());
    EXPECT_TRUE(f.Tree().HasFocusHighlight());
}

TEST(KeyboardSession, MessageBoxesReadTheirTextAndAnswerToKeys)
{
    MainWindowFixture f;
    f.window->FrameWidget()->activateWindow();
    QApplication::processEvents();
    std::vector<std::string> texts;
    ModalDriver driver({
        [&texts](QWidget &modal) {
            CollectNames(AccessibleOf(&modal), QAccessible::StaticText, texts);
            Key(Qt::Key_Return);
        },
    });
    // Nothing is marked: Restore says so in an information box.
    Key(Qt::Key_O, Qt::AltModifier);
    Key(Qt::Key_R);
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "There are no objects selected for restore."),
              texts.end());
}
