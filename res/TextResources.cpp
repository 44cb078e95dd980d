// The menu bar, the strings and the fonts.
#include "res/ResourceIds.h"
#include "res/ResourceParts.h"
#include "startup/ProgramVersion.h"

namespace
{

MenuItemResource Item(uint16_t id, std::string text, std::string helpText, bool enabled = true,
                      std::string accelerator = {})
{
    return {id, std::move(text), std::move(helpText), enabled, std::move(accelerator), {}};
}

MenuItemResource DropDown(uint16_t id, std::string text, std::string helpText,
                          std::vector<MenuItemResource> items)
{
    return {id, std::move(text), std::move(helpText), true, {}, std::move(items)};
}

} // namespace

std::vector<MenuResource> TarvikMenus()
{
    const std::vector<MenuItemResource> view = {
        Item(kMenuItemFind, "~Find...", "Find an object by name, deleted or not", true, "Ctrl+F"),
        Item(kMenuItemSetTopContext, "Set ~Top Context...", "Set top context of tree view window"),
        Item(kMenuItemSetUserContext, "Set ~User Context...", "", false),
    };
    const std::vector<MenuItemResource> selection = {
        Item(kMenuItemClearAll, "Clear ~All...", "No objects will be selected for restore"),
        // Enabled by the main window while a subtree is selected.
        Item(kMenuItemClearSubtree, "Clear Selected ~Subtree...",
             "All objects under selected subtree will be deselected for restore", false),
    };
    const std::vector<MenuItemResource> operations = {
        Item(kMenuItemRestore, "~Restore...", "Start restore of selected objects"),
        Item(kMenuItemPastRuns, "~Past Runs...", "Show the outcome of earlier restore runs"),
        Item(kMenuItemCompare, "~Compare with live...",
             "Compare the version of the object a restore would write with the live one", true,
             "Ctrl+L"),
    };
    const std::vector<MenuItemResource> help = {
        Item(kMenuItemAbout, "~About TARVIK...", "Display information on TARVIK"),
        Item(kMenuItemReleaseNotes, "~Release Notes", "Show this versions release notes"),
    };
    return {
        {kMenuMain,
         {
             Item(kMenuItemExit, "E~xit!", "Exit program", true, "Alt+X"),
             DropDown(kMenuItemView, "~View", "Change view in tree view window", view),
             DropDown(kMenuItemSelection, "~Selection", "Change restore selections", selection),
             DropDown(kMenuItemOperations, "~Operations", "Control TARVIK operations", operations),
             DropDown(kMenuItemHelp, "~Help", "Get help on TARVIK", help),
         }}};
}

std::vector<StringResource> TarvikStrings()
{
    return {
        {kStringReleaseNotes, "TARVIK V1.0 (Pre-release 2)\r\n"},
        {kStringVersion, kProgramVersion},
    };
}

std::vector<FontResource> TarvikFonts()
{
    return {
        {IDF_LightFont, "IDF_LightFont", "sans-serif", 12, false},
        {IDF_VersionFont, "IDF_VersionFont", "sans-serif", 16, true},
    };
}
