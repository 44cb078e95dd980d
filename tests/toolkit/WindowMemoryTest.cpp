// The file in which windows remember their sizes and places: read whole or not at all, written
// whole beside and renamed, merged with what another window wrote meanwhile; and where a window
// opens, within the screen's free area.
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/mwlib/TempDir.h"
#include "tests/support/core/ScopedEnvironment.h"
#include "toolkit/StateFile.h"
#include "toolkit/WindowMemory.h"
#include "toolkit/WindowPlace.h"
#include "toolkit/WorkWindow.h"

namespace
{
std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The memory is on for the test only, with a file of its own.
struct MemoryOn {
    TempDir folder;
    std::string path = folder.Path("tarvik/window-state.json");
    MemoryOn() { WindowMemory::Use(path); }
    ~MemoryOn() { WindowMemory::Use(""); }
};
} // namespace

TEST(StateFile, WritesWholeAndKeepsWhatAnotherWindowWroteMeanwhile)
{
    TempDir folder;
    const std::string path = folder.Path("config/tarvik/window-state.json");
    StateFile first(path);
    StateFile second(path);
    ASSERT_EQ(first.Write({{"Find", {640, 480}}}), "") << "the folders are made on the way";
    ASSERT_EQ(second.Write({{"MainWindow", {10, 20, 800, 600, 0}}}), "");
    ASSERT_EQ(first.Write({{"Find", {700, 500}}}), "");
    const StateFile::Values read = StateFile(path).Read();
    EXPECT_EQ(read,
              (StateFile::Values{{"Find", {700, 500}}, {"MainWindow", {10, 20, 800, 600, 0}}}));
    // Nothing is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("config/tarvik")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(StateFile, AFileThatDoesNotReadWhollyCountsAsEmpty)
{
    const std::vector<std::string> damaged = {
        "",
        "{\"Find\": [640, 48",               // cut short
        "[640, 480]",                        // not a table of keys
        "{\"Find\": 640}",                   // a value that is not a list
        "{\"Find\": [640, \"wide\"]}",       // a list that is not of numbers
        "{\"Find\": [640.5, 480]}",          // not whole numbers
        "{\"Find\": [640, 480], \"x\": {}}", // one bad entry spoils the file
        std::string("\x00\xff\xfe{", 4),
    };
    TempDir folder;
    for (const std::string &bytes : damaged) {
        SCOPED_TRACE(bytes);
        const std::string path = folder.Write("state.json", bytes);
        EXPECT_TRUE(StateFile(path).Read().empty());
        WindowMemory::Use(path);
        EXPECT_FALSE(WindowMemory::Recall("Find"));
        // The next window that closes writes a good file whole in its place.
        WindowMemory::Keep("Find", {1, 2});
        EXPECT_EQ(StateFile(path).Read(), (StateFile::Values{{"Find", {1, 2}}}));
        WindowMemory::Use("");
    }
}

TEST(StateFile, AFileThatCannotBeWrittenSaysWhy)
{
    TempDir folder;
    folder.Write("plain", "a file where a folder should be");
    EXPECT_NE(StateFile(folder.Path("plain/tarvik/window-state.json")).Write({{"Find", {1, 2}}}),
              "");
    std::filesystem::create_directories(folder.Path("folder.json"));
    EXPECT_NE(StateFile(folder.Path("folder.json")).Write({{"Find", {1, 2}}}), "");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("folder.json")));
}

TEST(StateFile, LivesUnderTheUsersConfigurationFolder)
{
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(StateFile::DefaultPath(), "/srv/config/tarvik/window-state.json");
    }
    ScopedEnvironment home("HOME", "/home/ann");
    for (const char *config : {static_cast<const char *>(nullptr), "relative/config"}) {
        ScopedEnvironment unset("XDG_CONFIG_HOME", config);
        EXPECT_EQ(StateFile::DefaultPath(), "/home/ann/.config/tarvik/window-state.json");
    }
}

TEST(WindowMemory, IsOffUntilTheProgramTurnsItOn)
{
    EXPECT_FALSE(WindowMemory::IsOn());
    WindowMemory::Keep("Find", {1, 2}); // goes nowhere
    EXPECT_FALSE(WindowMemory::Recall("Find"));
    MemoryOn memory;
    EXPECT_TRUE(WindowMemory::IsOn());
    WindowMemory::Keep("Find", {640, 480});
    EXPECT_EQ(WindowMemory::Recall("Find"), (std::vector<int>{640, 480}));
    EXPECT_NE(Contents(memory.path).find("640"), std::string::npos) << "written at once";
}

TEST(WindowPlace, AWindowIsNeverLargerThanTheFreeAreaAndStandsInsideIt)
{
    const Rectangle free = Rectangle::FromPosSize({0, 30}, {800, 470}); // a panel above
    const Size frame{8, 30};
    struct Case {
        Size wanted;
        std::optional<Point> place;
        Rectangle expected;
    };
    const std::vector<Case> cases = {
        // 1000 x 640 on a screen of 1600 x 1000 at scale 2: shrunk to the free area less frame.
        {{1000, 640}, std::nullopt, Rectangle::FromPosSize({0, 0}, {792, 440})},
        {{600, 400}, std::nullopt, Rectangle::FromPosSize({0, 0}, {600, 400})},
        {{600, 400}, Point{100, 80}, Rectangle::FromPosSize({100, 80}, {600, 400})},
        // Kept where a screen stood that is gone: moved back, as little as needed.
        {{600, 400}, Point{1500, 900}, Rectangle::FromPosSize({196, 96}, {600, 400})},
        {{600, 400}, Point{-300, -50}, Rectangle::FromPosSize({4, 56}, {600, 400})},
        {{-5, 0}, Point{0, 0}, Rectangle::FromPosSize({4, 56}, {1, 1})},
    };
    for (const Case &c : cases) {
        const Rectangle area = WindowPlace::Fitted(c.wanted, c.place, free, frame);
        EXPECT_EQ(area, c.expected) << c.wanted.width << "x" << c.wanted.height;
        if (!c.place) {
            continue; // the desktop places it
        }
        EXPECT_GE(area.left - frame.width / 2, free.left);
        EXPECT_LE(area.right + frame.width / 2, free.right);
        EXPECT_LE(area.bottom + frame.width / 2, free.bottom);
    }
}

TEST(WindowPlace, TheMainWindowComesBackWhereAndAsLargeAsItClosed)
{
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    MemoryOn memory;
    {
        WorkWindow window(nullptr);
        window.OpenPlaced("Test", {free.width() * 2, free.height() * 2});
        window.Show();
        EXPECT_LE(window.FrameWidget()->width(), free.width()) << "opens within the screen";
        EXPECT_LE(window.FrameWidget()->height(), free.height());
        window.FrameWidget()->setGeometry(free.x() + 40, free.y() + 60, 300, 200);
        EXPECT_TRUE(window.Close());
    }
    WorkWindow again(nullptr);
    again.OpenPlaced("Test", {free.width(), free.height()});
    again.Show();
    EXPECT_EQ(again.FrameWidget()->geometry(), QRect(free.x() + 40, free.y() + 60, 300, 200));
    again.Close();
}
