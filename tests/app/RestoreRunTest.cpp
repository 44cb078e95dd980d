// The Restore command over the scripted server: what is requested, in which order and with
// which flags, what the options dialog and the result lists show, which marks remain, and which
// objects are drawn present after what the server says it wrote.
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

#include "mwlib/MW_SIGTERMClientList.h"
#include "restore/RestoreOptionsDialog.h"
#include "restore/RestoreRun.h"
#include "session/ServerSession.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/core/RequestGate.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/CancelButton.h"
#include "toolkit/EventWait.h"
#include "toolkit/FixedText.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/ProgressWindow.h"
#include "toolkit/RadioButton.h"
#include "tree/ObjectPictures.h"

namespace
{

// Rows after opening Sales: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob, 6 East.
void OpenSales(MainWindowFixture &f)
{
    f.DoubleClick(3);
}

struct ResultList {
    std::vector<std::string> lines;
    bool cancelShown = false;
    std::string okText;
    std::string above; // the question, or why the run stopped; empty when hidden
};

// Answers a result dialog after reading its lines and buttons.
ModalScript::Action Read(std::vector<ResultList> &seen)
{
    return [&seen](ModalDialog &dialog) {
        ResultList list;
        ListBox *box = dialog.Find<ListBox>(ResId(1));
        for (int i = 0; i < box->GetEntryCount(); ++i) {
            list.lines.push_back(box->GetEntry(i));
        }
        list.cancelShown = !dialog.Find<CancelButton>(ResId(1))->Widget()->isHidden();
        list.okText = dialog.Find<OKButton>(ResId(1))->GetText();
        auto *above = dialog.Find<FixedText>(ResId(kRestoreQuestion));
        list.above = above->Widget()->isHidden() ? "" : above->GetText();
        seen.push_back(list);
    };
}

ModalScript::Action Choose(uint16_t radio)
{
    return [radio](ModalDialog &dialog) { dialog.Find<RadioButton>(ResId(radio))->Click(); };
}

void FailThreeLeaves(MainWindowFixture &f)
{
    f.script.SetRestoreOutcome("Printer.Marrowby", 5, "Disk full");
    f.script.SetRestoreOutcome("Ann.Sales.Marrowby", 6, "Locked");
    f.script.SetRestoreOutcome("Bob.Sales.Marrowby", 7, "Gone");
    OpenSales(f);
    f.ClickBox(2);
    f.ClickBox(4);
    f.ClickBox(5);
}

const std::vector<std::string> kThreeFailures = {
    "Printer.Marrowby - failed: Disk full",
    "Ann.Sales.Marrowby - failed: Locked",
    "Bob.Sales.Marrowby - failed: Gone",
};

} // namespace

TEST(RestoreRun, NothingMarkedShowsOnlyTheInformationBox)
{
    MainWindowFixture f;
    ModalScript script;
    script.ExpectBox(ModalKind::InfoBox, RestoreRun::kNothingMarked, RET_OK);
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_TRUE(f.script.RequestsOf(RestoreObject).empty());
}

TEST(RestoreRun, CancelledOptionsChangeNothing)
{
    MainWindowFixture f;
    f.ClickBox(2);
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 0);
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_TRUE(f.script.RequestsOf(RestoreObject).empty());
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Marked);
}

TEST(RestoreRun, OneMarkedLeafIsRestoredAtItsChosenVersionAndUnmarked)
{
    MainWindowFixture f;
    f.ItemAt(2)->SetChosenVersion(1234);
    f.ClickBox(2); // Marked resets the chosen version
    f.ItemAt(2)->SetChosenVersion(4321);
    std::vector<std::string> counts;
    std::vector<ResultList> lists;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1, [&](ModalDialog &dialog) {
        counts.push_back(dialog.Find<FixedText>(ResId(3))->GetText());
        counts.push_back(dialog.Find<FixedText>(ResId(4))->GetText());
    });
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);

    EXPECT_EQ(counts, (std::vector<std::string>{"0", "1"}));
    auto requests = f.script.RequestsOf(RestoreObject);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].name, "Printer.Marrowby");
    EXPECT_EQ(requests[0].flags, 1u);
    EXPECT_EQ(requests[0].version, 4321u);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].lines, (std::vector<std::string>{"Printer.Marrowby"}));
    EXPECT_FALSE(lists[0].cancelShown);
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
}

TEST(RestoreRun, MarkedContainerIsOneRequestAndFreesItsLoadedChildren)
{
    MainWindowFixture f;
    OpenSales(f);
    f.ClickBox(3);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    auto requests = f.script.RequestsOf(RestoreObject);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].name, "Sales.Marrowby");
    EXPECT_EQ(requests[0].flags, 1u);
    for (int row = 3; row <= 6; ++row) {
        EXPECT_EQ(f.ItemAt(row)->GetCheckState(), Unmarked);
        EXPECT_TRUE(f.ItemAt(row)->IsEnabled());
    }
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].lines.size(), 1u);
}

TEST(RestoreRun, MarkedAloneContainerGoesBeforeItsMarkedChild)
{
    MainWindowFixture f;
    OpenSales(f);
    f.ClickBox(3);
    f.ClickBox(3); // third state
    f.ClickBox(5);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    auto requests = f.script.RequestsOf(RestoreObject);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].name, "Sales.Marrowby");
    EXPECT_EQ(requests[0].flags, 0u);
    EXPECT_EQ(requests[1].name, "Bob.Sales.Marrowby");
    EXPECT_EQ(requests[1].flags, 1u);
    EXPECT_EQ(lists[0].lines, (std::vector<std::string>{"Sales.Marrowby", "Bob.Sales.Marrowby"}));
}

TEST(RestoreRun, ContinueRestoresEverythingAndListsAllFailuresAtTheEnd)
{
    MainWindowFixture f;
    FailThreeLeaves(f);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 3u);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].lines, kThreeFailures);
    for (int row : {2, 4, 5}) {
        EXPECT_EQ(f.ItemAt(row)->GetCheckState(), Marked);
    }
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 3");
}

TEST(RestoreRun, AskUserPromptsWithGrowingListsWhenContinued)
{
    MainWindowFixture f;
    FailThreeLeaves(f);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1, Choose(kRestoreObjectsAskUser));
    for (int i = 0; i < 3; ++i) {
        script.ExpectDialog(kDialogRestore, 1, Read(lists)); // "Continue"
    }
    script.ExpectDialog(kDialogRestore, 1, Read(lists)); // the final list
    f.menuBar.Select(kMenuItemRestore);
    ASSERT_EQ(lists.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lists[i].lines.size(), i + 1);
        EXPECT_TRUE(lists[i].cancelShown);
        EXPECT_EQ(lists[i].okText, "Continue");
    }
    EXPECT_EQ(lists[3].lines, kThreeFailures);
    EXPECT_FALSE(lists[3].cancelShown);
}

// Abort stops the run at once; the final list shows what was done and names every object not
// tried, each keeping its mark.
TEST(RestoreRun, AskUserAbortStopsAtOnceShowsTheListAndKeepsEveryMark)
{
    MainWindowFixture f;
    FailThreeLeaves(f);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1, Choose(kRestoreObjectsAskUser));
    script.ExpectDialog(kDialogRestore, 0, Read(lists)); // "Abort"
    script.ExpectDialog(kDialogRestore, 1, Read(lists)); // the final list
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 1u);
    ASSERT_EQ(lists.size(), 2u);
    const std::string notTried = " - not tried: the run was stopped after the failure of "
                                 "Printer.Marrowby";
    EXPECT_EQ(lists[1].lines,
              (std::vector<std::string>{kThreeFailures[0], "Ann.Sales.Marrowby" + notTried,
                                        "Bob.Sales.Marrowby" + notTried}));
    EXPECT_FALSE(lists[1].cancelShown);
    for (int row : {2, 4, 5}) {
        EXPECT_EQ(f.ItemAt(row)->GetCheckState(), Marked);
    }
}

TEST(RestoreRun, EndShowsTheResultsOnceAndStops)
{
    MainWindowFixture f;
    FailThreeLeaves(f);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1, Choose(kRestoreObjectsEnd));
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 1u);
    ASSERT_EQ(lists.size(), 1u);
    const std::string notTried = " - not tried: the run ended at the failure of Printer.Marrowby";
    EXPECT_EQ(lists[0].lines,
              (std::vector<std::string>{kThreeFailures[0], "Ann.Sales.Marrowby" + notTried,
                                        "Bob.Sales.Marrowby" + notTried}));
    EXPECT_FALSE(lists[0].cancelShown);
}

TEST(RestoreRun, SuccessAfterAFailureIsListedAfterIt)
{
    MainWindowFixture f;
    f.script.SetRestoreOutcome("Printer.Marrowby", 5, "Disk full");
    OpenSales(f);
    f.ClickBox(2);
    f.ClickBox(4);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1, Choose(kRestoreObjectsAskUser));
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[1].lines, (std::vector<std::string>{kThreeFailures[0], "Ann.Sales.Marrowby"}));
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Marked);
    EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Unmarked);
}

TEST(RestoreRun, FailedContainerKeepsItsSubtreeMarkedAndSkipsIt)
{
    MainWindowFixture f;
    f.script.SetRestoreOutcome("Sales.Marrowby", 9, "No such container");
    OpenSales(f);
    f.ClickBox(3);
    f.ClickBox(3); // MarkedAlone
    f.ClickBox(4);
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1);
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 1u);
    EXPECT_EQ(f.ItemAt(3)->GetCheckState(), MarkedAlone);
    EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Marked);
}

TEST(RestoreRun, ObjectWhoseNameCannotBeSentIsAFailureLineNeverASuccess)
{
    MainWindowFixture f([](ScriptedServer &script) {
        script.SetChildren("Marrowby", {Leaf(std::string(250, 'L'))});
    });
    f.ClickBox(1);
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_TRUE(f.script.RequestsOf(RestoreObject).empty());
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].lines.size(), 1u);
    EXPECT_NE(lists[0].lines[0].find(" - failed: Name too long for the backup server: "),
              std::string::npos)
        << lists[0].lines[0];
    EXPECT_EQ(f.ItemAt(1)->GetCheckState(), Marked);
}

namespace
{
// Present and deleted objects. Rows after opening Sales and East: 0 Marrowby, 1 Old, 2 Printer,
// 3 Sales, 4 Ann, 5 Bob, 6 East, 7 Cid, 8 Dee.
void ScriptMixedTree(ScriptedServer &script)
{
    script.SetChildren("Marrowby", {Container("Sales"), Leaf("Printer"), Container("Old", false)});
    script.SetChildren("Sales.Marrowby", {Leaf("Ann"), Leaf("Bob", false), Container("East")});
    script.SetChildren("East.Sales.Marrowby", {Leaf("Cid"), Leaf("Dee", false)});
    script.SetChildren("Old.Marrowby", {Leaf("Gus", false)});
}

void OpenSalesAndEast(MainWindowFixture &f)
{
    f.DoubleClick(3);
    f.DoubleClick(6);
}

std::string Drawn(MainWindowFixture &f, int row)
{
    return f.TextAt(row) + (f.ItemAt(row)->IsPresent() ? "" : " deleted");
}

// Runs the Restore command with the default choice; the lines of the final result list.
std::vector<std::string> RunWithDefaults(MainWindowFixture &f)
{
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    return lists.size() == 1 ? lists[0].lines : std::vector<std::string>{"<no single list>"};
}

RestoreReport Report(std::vector<std::string> parents, std::vector<std::string> added,
                     uint64_t addedCount, uint64_t changedCount, bool subtree)
{
    return RestoreReport{std::move(parents), std::move(added), addedCount, changedCount, subtree};
}

// Sales and everything below it are deleted, and so is Printer.
void ScriptDeletedTree(ScriptedServer &script)
{
    script.SetChildren("Marrowby",
                       {Container("Sales", false), Leaf("Printer", false), Container("Admin")});
    script.SetChildren("Sales.Marrowby",
                       {Leaf("Ann", false), Leaf("Bob", false), Container("East", false)});
    script.SetChildren("East.Sales.Marrowby", {Leaf("Cid", false), Leaf("Dee", false)});
}

std::vector<bool> Present(MainWindowFixture &f, std::initializer_list<int> rows)
{
    std::vector<bool> present;
    for (int row : rows) {
        present.push_back(f.ItemAt(row)->IsPresent());
    }
    return present;
}
// What the Restore Objects dialog says of what the run overwrites (cancelled then).
std::string OverwrittenSaid(MainWindowFixture &f)
{
    std::string said = "<not shown>";
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 0, [&said](ModalDialog &dialog) {
        said = static_cast<RestoreOptionsDialog &>(dialog).OverwrittenText();
    });
    f.menuBar.Select(kMenuItemRestore);
    return said;
}
} // namespace

TEST(RestoreRun, OptionsSayHowManyLoadedPresentObjectsMarkedPresentContainersOverwrite)
{
    const std::string three = "Marked present containers are restored with their subtrees: 3 "
                              "present objects loaded below them will be overwritten with their "
                              "backed-up versions.";
    const std::string one = "Marked present containers are restored with their subtrees: 1 "
                            "present object loaded below them will be overwritten with its "
                            "backed-up version.";
    const struct {
        const char *what;
        std::vector<int> clicks; // check boxes clicked, in order
        std::string said;
    } cases[] = {
        {"present container with its subtree", {3}, three},
        {"a present container below it counts once", {6, 3}, three},
        {"present container alone", {3, 3}, ""},
        {"present container, one present object below", {6}, one},
        {"deleted container with its subtree", {1}, ""},
        {"leaves only", {2, 4}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowFixture f(ScriptMixedTree);
        OpenSalesAndEast(f);
        for (int row : c.clicks) {
            f.ClickBox(row);
        }
        EXPECT_EQ(OverwrittenSaid(f), c.said);
    }
}

namespace
{
// The mixed tree on a server that can preview a run (the window asks at start-up).
void ScriptMixedTreeDescribed(ScriptedServer &script)
{
    ScriptMixedTree(script);
    script.SetDescription("Sales.Marrowby", ObjectDescription{});
}
} // namespace

// What a container never opened holds is not loaded: the note does not count it as nothing.
TEST(RestoreRun, OptionsSayWhatIsNotKnownBelowAContainerNeverOpened)
{
    const std::string start = "Marked present containers are restored with their subtrees: every "
                              "present object below them will be overwritten with its backed-up "
                              "version; ";
    const struct {
        const char *what;
        bool openSales;
        bool describes; // the server can preview the run
        std::string said;
    } cases[] = {
        {"Sales never opened", false, true,
         start + "how many there are is not known until previewed."},
        {"without a preview", false, false, start + "how many there are is not known."},
        {"Sales opened, East below it not", true, true,
         start + "2 are loaded, and how many more the containers not opened yet hold is not known "
                 "until previewed."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowFixture f(c.describes ? ScriptMixedTreeDescribed : ScriptMixedTree);
        if (c.openSales) {
            f.DoubleClick(3);
        }
        f.ClickBox(3);
        EXPECT_EQ(OverwrittenSaid(f), c.said);
    }
}

TEST(RestoreRun, EveryObjectWrittenIsALineAndIsDrawnPresent)
{
    MainWindowFixture f(ScriptMixedTree);
    OpenSalesAndEast(f);
    f.DoubleClick(1); // Old: 1 Old, 2 Gus, 3 Printer, 4 Sales, 5 Ann, 6 Bob, 7 East, 8 Cid, 9 Dee
    f.ClickBox(2);    // Gus, whose deleted parent the server adds on the way
    f.ClickBox(9);    // Dee, whose present parents are added again by a careless server
    f.script.SetRestoreReport(
        "Gus.Old.Marrowby",
        Report({"Old.Marrowby"}, {"Old.Marrowby", "Gus.Old.Marrowby"}, 1, 0, true));
    f.script.SetRestoreReport(
        "Dee.East.Sales.Marrowby",
        Report({"Sales.Marrowby", "East.Sales.Marrowby"},
               {"Sales.Marrowby", "East.Sales.Marrowby", "Dee.East.Sales.Marrowby"}, 1, 0, true));
    EXPECT_EQ(RunWithDefaults(f),
              (std::vector<std::string>{
                  "Old.Marrowby - added as the parent of Gus.Old.Marrowby", "Gus.Old.Marrowby",
                  "Sales.Marrowby - added as the parent of East.Sales.Marrowby",
                  "East.Sales.Marrowby - added as the parent of Dee.East.Sales.Marrowby",
                  "Dee.East.Sales.Marrowby"}));
    EXPECT_EQ(Drawn(f, 1), "Old");
    EXPECT_EQ(Drawn(f, 2), "Gus");
    EXPECT_EQ(Drawn(f, 9), "Dee");
    EXPECT_EQ(Drawn(f, 6), "Bob deleted") << "not written";
}

TEST(RestoreRun, SubtreeLineCountsWhatItAddedAndChangedAndItsAddedObjectsAreDrawnPresent)
{
    MainWindowFixture f(ScriptMixedTree);
    OpenSalesAndEast(f);
    f.ClickBox(3); // Sales with its subtree
    f.script.SetRestoreReport(
        "Sales.Marrowby",
        Report({}, {"Bob.Sales.Marrowby", "Dee.East.Sales.Marrowby"}, 2, 3, true));
    EXPECT_EQ(RunWithDefaults(f),
              (std::vector<std::string>{
                  "Sales.Marrowby - with its subtree: 2 objects added, 3 changed"}));
    for (int row = 3; row <= 8; ++row) {
        EXPECT_TRUE(f.ItemAt(row)->IsPresent()) << f.TextAt(row);
    }
    EXPECT_EQ(Drawn(f, 1), "Old deleted") << "outside the subtree";
}

TEST(RestoreRun, FailedObjectStaysDeletedButWhatWasWrittenBeforeTheFailureIsShown)
{
    MainWindowFixture f(ScriptMixedTree);
    OpenSalesAndEast(f);
    f.ClickBox(8); // Dee
    f.ClickBox(1); // Old, deleted, with its subtree: it comes back, one object below fails
    f.script.SetRestoreOutcome("Dee.East.Sales.Marrowby", 65, "Object class violation");
    f.script.SetRestoreReport("Dee.East.Sales.Marrowby",
                              Report({"East.Sales.Marrowby"}, {"East.Sales.Marrowby"}, 0, 0, true));
    f.script.SetRestoreOutcome("Old.Marrowby", 32, "No such object");
    f.script.SetRestoreReport("Old.Marrowby", Report({}, {"Old.Marrowby"}, 1, 0, true));
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1, Choose(kRestoreObjectsAskUser));
    script.ExpectDialog(kDialogRestore, 1, Read(lists)); // after Old: "Continue"
    script.ExpectDialog(kDialogRestore, 1, Read(lists)); // after Dee: "Continue"
    script.ExpectDialog(kDialogRestore, 1, Read(lists)); // the final list
    f.menuBar.Select(kMenuItemRestore);
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists[1].lines,
              (std::vector<std::string>{
                  "Old.Marrowby - failed: No such object",
                  "East.Sales.Marrowby - added as the parent of Dee.East.Sales.Marrowby",
                  "Dee.East.Sales.Marrowby - failed: Object class violation"}));
    EXPECT_EQ(Drawn(f, 1), "Old") << "added before its subtree failed";
    EXPECT_EQ(Drawn(f, 8), "Dee deleted");
    EXPECT_EQ(f.ItemAt(8)->GetCheckState(), Marked);
}

// Told of the program's end before the run: nothing is asked, and the object is a line that says
// it was not tried, keeps its mark and stays drawn as it was.
TEST(RestoreRun, ObjectToldOfTheProgramsEndIsNotAskedAboutAndStaysAsItWasDrawn)
{
    MW_SIGTERMClientList registry; // outlives the window and its items
    MainWindowFixture f(ScriptMixedTree, &registry);
    OpenSalesAndEast(f);
    f.ClickBox(5); // Bob, deleted
    registry.Inform();
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    script.ExpectBox(ModalKind::WarningBox, TerminationNotice::kText, RET_OK);
    f.menuBar.Select(kMenuItemRestore);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].lines,
              (std::vector<std::string>{"Bob.Sales.Marrowby - not tried: the program is ending"}));
    EXPECT_TRUE(f.script.RequestsOf(RestoreObject).empty());
    EXPECT_EQ(Drawn(f, 5), "Bob deleted");
    EXPECT_EQ(f.ItemAt(5)->GetCheckState(), Marked);
}

// Rows after opening Sales and East: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob,
// 6 East, 7 Cid, 8 Dee.
TEST(RestoreRun, RestoredObjectsAreDrawnPresentAtOnceFailedOnesStayDeleted)
{
    MainWindowFixture f(ScriptDeletedTree);
    f.script.SetRestoreOutcome("Printer.Marrowby", 5, "Disk full");
    OpenSales(f);
    f.DoubleClick(6);
    f.ClickBox(2); // Printer: fails
    f.ClickBox(6); // East with its subtree
    f.ClickBox(4); // Ann alone
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1);
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(Present(f, {2, 3, 4, 5, 6, 7, 8}),
              (std::vector<bool>{false, false, true, false, true, true, true}));
    EXPECT_EQ(ObjectPictures::IdOf(*f.ItemAt(6)).Id(), kBitmapConoPres);
    EXPECT_EQ(ObjectPictures::IdOf(*f.ItemAt(7)).Id(), kBitmapObjPrese);
    EXPECT_EQ(ObjectPictures::IdOf(*f.ItemAt(2)).Id(), kBitmapObjDelet);
}

// A container restored alone comes back without its children: they stay deleted.
TEST(RestoreRun, ContainerRestoredAloneLeavesItsChildrenDeleted)
{
    MainWindowFixture f(ScriptDeletedTree);
    OpenSales(f);
    f.ClickBox(3);
    f.ClickBox(3); // Sales alone
    f.ClickBox(5); // and Bob
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1);
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(Present(f, {3, 4, 5, 6}), (std::vector<bool>{true, false, true, false}));
}

// The signal comes while the run is on its way (after the first object): nothing more is sent,
// and what was not sent is a line of its own that keeps its mark (never a success, never a
// question), under every on-error choice.
TEST(RestoreRun, ObjectsNotRestoredBecauseTheProgramIsEndingAreNotTried)
{
    const std::string ending = " - not tried: the program is ending";
    for (uint16_t choice : {kRestoreObjectsContinue, kRestoreObjectsAskUser, kRestoreObjectsEnd}) {
        SCOPED_TRACE(choice);
        MW_SIGTERMClientList registry;
        MainWindowFixture f(ScriptSmallTree, &registry);
        OpenSales(f);
        f.ClickBox(2);
        f.ClickBox(4);
        f.ClickBox(5);
        // The news reaches the program's thread while the worker waits for the reply, as the
        // signal's pipe would bring it.
        f.script.OnRequest([&registry](const LoggedRequest &request) {
            if (request.type == RestoreObject) {
                QMetaObject::invokeMethod(
                    qApp, [&registry] { registry.Inform(); }, Qt::QueuedConnection);
            }
        });
        ModalScript script;
        std::vector<ResultList> lists;
        script.ExpectDialog(kDialogRestoreObjects, 1, Choose(choice));
        script.ExpectDialog(kDialogRestore, 1, Read(lists)); // the final list
        script.ExpectBox(ModalKind::WarningBox, TerminationNotice::kText, RET_OK);
        f.menuBar.Select(kMenuItemRestore);
        QApplication::processEvents(); // said once: not again from the event loop

        EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 1u);
        ASSERT_FALSE(lists.empty());
        const std::vector<std::string> all = {"Printer.Marrowby", "Ann.Sales.Marrowby" + ending,
                                              "Bob.Sales.Marrowby" + ending};
        EXPECT_EQ(lists.back().lines, all);
        EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Unmarked);
        EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Marked);
        EXPECT_EQ(f.ItemAt(5)->GetCheckState(), Marked);
        EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 2");
    }
}

// Stop while the second restore waits in the server: that restore is not given up (its outcome
// would be unknown), and until it is over the progress window stays and says so; the run then
// ends, and its list says it was stopped and names what it did not try, which keeps its mark.
TEST(RestoreRun, StopEndsTheRunAfterTheRestoreInFlightAndTheListSaysSo)
{
    MainWindowFixture f;
    OpenSales(f);
    f.ClickBox(2);
    f.ClickBox(4);
    f.ClickBox(5);
    ServerSession &session = f.window->Session();
    RequestGate gate;
    std::string said;
    std::string saidAfterStop;
    bool shownAfterStop = false;
    f.script.OnRequest([&](const LoggedRequest &request) {
        if (request.type != RestoreObject || request.name != "Ann.Sales.Marrowby") {
            return;
        }
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                // The window goes on: the progress window comes once the wait has lasted.
                EventWait::Until([&] {
                    return session.Progress() != nullptr && session.Progress()->IsVisible();
                });
                said = session.Progress()->Text();
                QTest::mouseClick(session.Progress()->StopButton(), Qt::LeftButton);
                shownAfterStop = session.Progress()->IsVisible();
                saidAfterStop = session.Progress()->Text();
                gate.Release();
            },
            Qt::QueuedConnection);
        gate.Hold();
    });
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, Read(lists)); // the final list
    f.menuBar.Select(kMenuItemRestore);

    EXPECT_EQ(said, "Restoring 2 of 3: Ann.Sales.Marrowby");
    EXPECT_TRUE(shownAfterStop);
    EXPECT_EQ(saidAfterStop, "Stopping: finishing the restore of Ann.Sales.Marrowby...");
    EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 2u);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].above, "The run was stopped.");
    EXPECT_EQ(lists[0].lines,
              (std::vector<std::string>{"Printer.Marrowby", "Ann.Sales.Marrowby",
                                        "Bob.Sales.Marrowby - not tried: the run was stopped"}));
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.ItemAt(5)->GetCheckState(), Marked);
    EXPECT_FALSE(session.Busy());
}

// The run goes on by the completions of its restores, so a dialog the user opens while it runs
// (About, Release Notes, Past Runs) does not hold it up: every restore goes out while About is
// still open.
TEST(RestoreRun, ADialogOpenedDuringTheRunDoesNotHoldItUp)
{
    MainWindowFixture f;
    OpenSales(f);
    f.ClickBox(2);
    f.ClickBox(4);
    f.ClickBox(5);
    std::atomic<bool> opened{false};
    f.script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == RestoreObject && !opened.exchange(true)) {
            QMetaObject::invokeMethod(
                qApp, [&] { f.menuBar.Select(kMenuItemAbout); }, Qt::QueuedConnection);
        }
    });
    // Should the run wait for the dialog, the wait below would never end: a watchdog says so.
    bool gaveUp = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&gaveUp] { gaveUp = true; });
    std::size_t sentWhileOpen = 0;
    bool endedWhileOpen = false;
    ModalScript script;
    std::vector<ResultList> lists;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogAbout, 1, [&](ModalDialog &) {
        watchdog.start(30000);
        EventWait::Until([&] { return gaveUp || !f.window->Session().Busy(); });
        sentWhileOpen = f.script.RequestsOf(RestoreObject).size();
        endedWhileOpen = !gaveUp;
    });
    script.ExpectDialog(kDialogRestore, 1, Read(lists));
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_EQ(sentWhileOpen, 3u);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].lines, (std::vector<std::string>{"Printer.Marrowby", "Ann.Sales.Marrowby",
                                                        "Bob.Sales.Marrowby"}));
}
