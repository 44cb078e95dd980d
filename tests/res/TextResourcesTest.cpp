// The menu bar with its nesting, help texts, states and accelerator; the strings and fonts.
#include <QAction>
#include <QKeySequence>
#include <cctype>
#include <gtest/gtest.h>
#include <set>

#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "toolkit/MenuBar.h"
#include "toolkit/Resource.h"

namespace
{

struct ExpectedItem {
    uint16_t id;
    std::string text;
    std::string helpText;
    bool enabled;
    std::string accelerator;
    std::vector<uint16_t> dropDown; // ids of a drop-down's entries, in order
};

const std::vector<uint16_t> kMenuBar = {1, 2, 5, 8, 10};

const std::vector<ExpectedItem> kItems = {
    {1, "E~xit!", "Exit program", true, "Alt+X", {}},
    {2, "~View", "Change view in tree view window", true, "", {15, 3, 4}},
    {3, "Set ~Top Context...", "Set top context of tree view window", true, "", {}},
    {4, "Set ~User Context...", "", false, "", {}},
    {5, "~Selection", "Change restore selections", true, "", {6, 7}},
    {6, "Clear ~All...", "No objects will be selected for restore", true, "", {}},
    {7,
     "Clear Selected ~Subtree...",
     "All objects under selected subtree will be deselected for restore",
     false,
     "",
     {}},
    {8, "~Operations", "Control TARVIK operations", true, "", {9, 13, 14}},
    {9, "~Restore...", "Start restore of selected objects", true, "", {}},
    {10, "~Help", "Get help on TARVIK", true, "", {11, 12}},
    {11, "~About TARVIK...", "Display information on TARVIK", true, "", {}},
    {12, "~Release Notes", "Show this versions release notes", true, "", {}},
    {13, "~Past Runs...", "Show the outcome of earlier restore runs", true, "", {}},
    {14,
     "~Compare with live...",
     "Compare the version of the object a restore would write with the live one",
     true,
     "Ctrl+L",
     {}},
    {15, "~Find...", "Find an object by name, deleted or not", true, "Ctrl+F", {}},
};

std::vector<uint16_t> IdsOf(const std::vector<MenuItemResource> &items)
{
    std::vector<uint16_t> ids;
    for (const MenuItemResource &item : items) {
        ids.push_back(item.id);
    }
    return ids;
}

// Every item of the menu, whatever its depth.
void Flatten(const std::vector<MenuItemResource> &items, std::vector<const MenuItemResource *> &all)
{
    for (const MenuItemResource &item : items) {
        all.push_back(&item);
        Flatten(item.items, all);
    }
}

class TextResources : public InstalledResources
{
  protected:
    const MenuResource &Menu()
    {
        const MenuResource *menu = Resources::Menu(ResId(kMenuMain));
        EXPECT_NE(menu, nullptr);
        return menu ? *menu : empty_;
    }

  private:
    MenuResource empty_{0, {}};
};

TEST_F(TextResources, MenuBarNestsTheItemsWithTheirTextsHelpStatesAndAccelerator)
{
    const MenuResource &menu = Menu();
    EXPECT_EQ(IdsOf(menu.items), kMenuBar);
    std::vector<const MenuItemResource *> all;
    Flatten(menu.items, all);
    ASSERT_EQ(all.size(), kItems.size());
    for (const MenuItemResource *item : all) {
        SCOPED_TRACE("item " + std::to_string(item->id));
        ASSERT_TRUE(item->id >= 1 && item->id <= kItems.size());
        const ExpectedItem &expected = kItems[item->id - 1];
        EXPECT_EQ(item->text, expected.text);
        EXPECT_EQ(item->helpText, expected.helpText);
        EXPECT_EQ(item->enabled, expected.enabled);
        EXPECT_EQ(item->accelerator, expected.accelerator);
        EXPECT_EQ(IdsOf(item->items), expected.dropDown);
    }
}

// Built by the toolkit as the main window builds it: the accelerator and the initial states
// must come through, not only stand in the table.
TEST_F(TextResources, ToolkitMenuBarCarriesAltXAndTheDisabledEntries)
{
    MenuBar bar{ResId(kMenuMain)};
    const QAction *exit = bar.Action(kMenuItemExit);
    ASSERT_NE(exit, nullptr);
    // On the menu bar Alt+X is also the mnemonic of "E~xit!"; either way it must reach Exit.
    const QKeySequence altX(Qt::ALT | Qt::Key_X);
    EXPECT_TRUE(exit->shortcut() == altX || QKeySequence::mnemonic(exit->text()) == altX);
    EXPECT_EQ(QKeySequence(QString::fromStdString(Menu().items.at(0).accelerator)), altX);
    EXPECT_FALSE(bar.IsItemEnabled(kMenuItemSetUserContext));
    EXPECT_FALSE(bar.IsItemEnabled(kMenuItemClearSubtree));
    EXPECT_TRUE(bar.IsItemEnabled(kMenuItemRestore));
    for (uint16_t dropDown :
         {kMenuItemView, kMenuItemSelection, kMenuItemOperations, kMenuItemHelp}) {
        EXPECT_NE(bar.GetPopupMenu(dropDown), nullptr) << "drop-down " << dropDown;
    }
    EXPECT_EQ(bar.GetHelpText(kMenuItemClearAll), "No objects will be selected for restore");
}

// The main window dispatches on item ids, and a mnemonic letter may open only one item per
// menu level.
TEST_F(TextResources, MenuIdsAreUniqueAndMnemonicsDistinctPerLevel)
{
    std::vector<const MenuItemResource *> all;
    Flatten(Menu().items, all);
    std::set<uint16_t> ids;
    for (const MenuItemResource *item : all) {
        EXPECT_TRUE(ids.insert(item->id).second) << "id " << item->id << " used twice";
    }

    std::vector<const std::vector<MenuItemResource> *> levels = {&Menu().items};
    for (const MenuItemResource *item : all) {
        if (!item->items.empty()) {
            levels.push_back(&item->items);
        }
    }
    for (const auto *level : levels) {
        std::set<char> letters;
        for (const MenuItemResource &item : *level) {
            const size_t tilde = item.text.find('~');
            ASSERT_NE(tilde, std::string::npos) << item.text;
            ASSERT_LT(tilde + 1, item.text.size()) << item.text;
            const char letter =
                char(std::tolower(static_cast<unsigned char>(item.text[tilde + 1])));
            EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(letter))) << item.text;
            EXPECT_TRUE(letters.insert(letter).second) << "mnemonic of " << item.text << " taken";
        }
    }
}

TEST_F(TextResources, StringsAreExactIncludingTheReleaseNotesLineBreak)
{
    const StringResource *notes = Resources::String(ResId(kStringReleaseNotes));
    const StringResource *version = Resources::String(ResId(kStringVersion));
    ASSERT_NE(notes, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(notes->text, "TARVIK V1.0 (Pre-release 2)\r\n");
    EXPECT_EQ(version->text, "Version 1.0 (Pre-release 2)");
    EXPECT_EQ(TarvikResources().strings.size(), 2u);
}

TEST_F(TextResources, VersionFontIsTheLargerBoldSansSerif)
{
    const FontResource *light = Resources::Font(ResId(IDF_LightFont));
    const FontResource *version = Resources::Font(ResId(IDF_VersionFont));
    ASSERT_NE(light, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(light->id, 256);
    EXPECT_EQ(light->name, "IDF_LightFont");
    EXPECT_EQ(light->family, "sans-serif");
    EXPECT_EQ(light->pointSize, 12);
    EXPECT_FALSE(light->bold);
    EXPECT_EQ(version->id, 257);
    EXPECT_EQ(version->name, "IDF_VersionFont");
    EXPECT_EQ(version->family, "sans-serif");
    EXPECT_EQ(version->pointSize, 16);
    EXPECT_TRUE(version->bold);
}

} // namespace
