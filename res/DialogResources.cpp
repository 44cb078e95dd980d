// The dialogs and their controls, in creation order; geometry in dialog units.
#include "res/ResourceIds.h"
#include "res/ResourceParts.h"
#include "startup/ProgramVersion.h"

namespace
{

using K = ControlKind;

ControlResource Control(ControlKind kind, uint16_t id, int x, int y, int width, int height,
                        std::string text = {}, uint16_t fontId = 0)
{
    return {kind, id, x, y, width, height, std::move(text), fontId, 0, false};
}

// A bitmap button or fixed icon showing the picture `imageId`.
ControlResource Picture(ControlKind kind, uint16_t id, int x, int y, int width, int height,
                        uint16_t imageId)
{
    return {kind, id, x, y, width, height, {}, 0, imageId, false};
}

struct Box {
    int x, y, width, height;
};

const bool kModal = true;
const bool kModeless = false;

DialogResource Dialog(uint16_t id, bool modal, std::string title, Box box,
                      std::vector<ControlResource> controls)
{
    return {id, modal, std::move(title), box.x, box.y, box.width, box.height, std::move(controls)};
}

ControlResource Masked(ControlResource edit)
{
    edit.masked = true;
    return edit;
}

// The About box's legal notice, top to bottom (text 5 stands above text 4).
const char kNoticeCopyright[] = "\u00a9 Marrowby";
const char kNoticeRights[] = "All rights reserved.";
const char kNoticeLicence[] = "Use is subject to your licence.";
const char kNoticeCopying[] = "Copying needs our consent.";
const char kNoticeEvaluation[] = "For evaluation only.";

// The text a version line carries until the string resource replaces it.
const char *const kVersionPlaceholder = kProgramVersion;

DialogResource About()
{
    return Dialog(kDialogAbout, kModal, "About TARVIK", {90, 14, 256, 187},
                  {
                      Control(K::OKButton, kOKButton, 209, 171, 40, 12),
                      Picture(K::BitmapButton, kAboutPicture, 30, 4, 198, 123, kBitmapSplash),
                      Control(K::FixedText, 1, 13, 140, 196, 10, kNoticeCopyright, IDF_VersionFont),
                      Control(K::FixedText, 2, 13, 151, 127, 10, kNoticeRights, IDF_LightFont),
                      Control(K::FixedText, 3, 13, 159, 190, 10, kNoticeLicence, IDF_LightFont),
                      Control(K::FixedText, 5, 13, 167, 180, 9, kNoticeCopying, IDF_LightFont),
                      Control(K::FixedText, 4, 13, 175, 146, 10, kNoticeEvaluation, IDF_LightFont),
                      Control(K::FixedText, kAboutVersion, 13, 129, 100, 10, kVersionPlaceholder,
                              IDF_VersionFont),
                  });
}

DialogResource SetTopContext()
{
    return Dialog(
        kDialogSetTopContext, kModal, "Set Top Context", {77, 31, 148, 68},
        {
            Control(K::FixedText, kSetTopContextPrompt, 17, 13, 64, 10, "Enter new context:"),
            Control(K::Edit, kSetTopContextEdit, 16, 22, 117, 12, "Edit"),
            Control(K::OKButton, kOKButton, 53, 49, 40, 12),
            Control(K::CancelButton, kCancelButton, 103, 49, 40, 12),
            Control(K::GroupBox, kSetTopContextFrame, 7, 0, 135, 43),
        });
}

DialogResource ReleaseNotes()
{
    return Dialog(kDialogReleaseNotes, kModal, "TARVIK Release Notes", {37, 15, 235, 160},
                  {
                      Control(K::OKButton, kOKButton, 189, 141, 40, 12),
                      Control(K::MultiLineEdit, kReleaseNotesText, 6, 7, 223, 128, "MultiLineEdit"),
                  });
}

DialogResource Splash()
{
    return Dialog(kDialogSplash, kModeless, "", {88, 48, 199, 139},
                  {
                      Picture(K::BitmapButton, kSplashPicture, 0, 0, 200, 125, kBitmapSplash),
                      Control(K::FixedText, kSplashVersion, 1, 128, 199, 10, kVersionPlaceholder,
                              IDF_VersionFont),
                  });
}

DialogResource UserDetails()
{
    return Dialog(kDialogUserDetails, kModal, "User Details", {85, 35, 185, 91},
                  {
                      Control(K::FixedText, kUserDetailsNameLabel, 15, 15, 40, 10, "Name:"),
                      Control(K::FixedText, kUserDetailsPasswordLabel, 15, 30, 40, 10, "Password:"),
                      Control(K::Edit, kUserDetailsName, 60, 15, 100, 12),
                      Masked(Control(K::Edit, kUserDetailsPassword, 60, 30, 100, 12)),
                      Control(K::GroupBox, kUserDetailsFrame, 10, 5, 165, 45),
                      Picture(K::FixedIcon, kUserDetailsIcon, 10, 55, 30, 30, kIconTarvik),
                      Control(K::OKButton, kOKButton, 85, 65, 40, 12),
                      Control(K::CancelButton, kCancelButton, 135, 65, 40, 12),
                  });
}

DialogResource RestoreObjects()
{
    return Dialog(
        kDialogRestoreObjects, kModal, "Restore Objects", {95, 38, 175, 78},
        {
            Control(K::GroupBox, kRestoreObjectsOnError, 10, 5, 90, 45, "On error:"),
            Control(K::RadioButton, kRestoreObjectsContinue, 20, 15, 40, 12, "Continue"),
            Control(K::RadioButton, kRestoreObjectsAskUser, 20, 25, 40, 12, "Ask User"),
            Control(K::RadioButton, kRestoreObjectsEnd, 20, 35, 40, 12, "End"),
            Control(K::FixedText, kRestoreObjectsContainersLabel, 10, 55, 45, 10, "Containers:"),
            Control(K::FixedText, kRestoreObjectsLeavesLabel, 10, 65, 45, 10, "Leaf objects:"),
            Control(K::FixedText, kRestoreObjectsContainers, 60, 55, 40, 10, "FixedText"),
            Control(K::FixedText, kRestoreObjectsLeaves, 60, 65, 40, 10, "FixedText"),
            Control(K::OKButton, kOKButton, 125, 10, 40, 12),
            Control(K::CancelButton, kCancelButton, 125, 30, 40, 12),
            Control(K::PushButton, kRestoreObjectsPreview, 125, 50, 40, 12, "Preview..."),
        });
}

// The places are those of the prompt form at the starting size: the question above the list,
// then the line about failures left marked, the selected line whole (whose last line the note on
// what Save... or Copy did takes once there is one), and the buttons. The
// dialog moves them as its form and size ask (RestoreResultDialog::Resize).
DialogResource Restore()
{
    return Dialog(kDialogRestore, kModal, "Restore", {60, 11, 240, 170},
                  {
                      Control(K::FixedText, kRestoreQuestion, 5, 3, 230, 18),
                      Control(K::ListBox, kRestoreResults, 5, 23, 230, 72),
                      Control(K::FixedText, kRestoreStillMarked, 5, 97, 230, 10),
                      Control(K::MultiLineEdit, kRestoreWholeLine, 5, 109, 230, 28),
                      Control(K::FixedText, kRestoreDone, 5, 127, 230, 10),
                      Control(K::PushButton, kRestoreSave, 105, 140, 40, 12, "~Save..."),
                      Control(K::PushButton, kRestoreCopy, 150, 140, 40, 12, "~Copy"),
                      Control(K::OKButton, kOKButton, 195, 140, 40, 12),
                      Control(K::CancelButton, kCancelButton, 195, 155, 40, 12),
                  });
}

// What the Find dialog's status line says before the first search.
const char kFindPrompt[] = "Type a name, or a part of one; * and ? are wildcards.";

DialogResource Find()
{
    return Dialog(
        kDialogFind, kModeless, "Find", {40, 20, 300, 200},
        {
            Control(K::FixedText, kFindPatternLabel, 6, 9, 40, 10, "Find what:"),
            Control(K::Edit, kFindPattern, 52, 7, 176, 12),
            Control(K::PushButton, kFindButton, 240, 6, 54, 14, "~Find"),
            Control(K::CheckBox, kFindDeletedOnly, 52, 23, 140, 10, "~Deleted objects only"),
            Control(K::PushButton, kFindStop, 240, 23, 54, 14, "~Stop"),
            Control(K::FixedText, kFindResultsLabel, 6, 40, 40, 10, "Results:"),
            Control(K::FixedText, kFindStatus, 52, 40, 242, 10, kFindPrompt),
            Control(K::ResultTable, kFindResults, 6, 52, 288, 124),
            Control(K::PushButton, kFindClose, 240, 181, 54, 14, "Close"),
        });
}

DialogResource Compare()
{
    return Dialog(
        kDialogCompare, kModal, "Compare with Live", {20, 10, 380, 190},
        {
            Control(K::FixedText, kCompareHeading, 5, 5, 370, 10, "FixedText"),
            Control(K::FixedText, kCompareNote, 5, 17, 370, 10),
            Control(K::TableBox, kCompareTable, 5, 29, 370, 129),
            Control(K::CheckBox, kCompareShowSame, 5, 165, 150, 12, "Show unchanged attributes"),
            Control(K::OKButton, kOKButton, 335, 165, 40, 12),
        });
}

DialogResource Preview()
{
    return Dialog(
        kDialogPreview, kModal, "Restore Preview", {20, 10, 400, 235},
        {
            Control(K::FixedText, kPreviewCounts, 5, 5, 390, 10, "FixedText"),
            Control(K::TableBox, kPreviewLines, 5, 18, 390, 100),
            Control(K::FixedText, kPreviewComparisonLabel, 5, 122, 390, 10,
                    "Comparison with live:"),
            Control(K::TableBox, kPreviewComparison, 5, 134, 390, 78),
            Control(K::CheckBox, kPreviewShowSame, 5, 217, 150, 12, "Show unchanged attributes"),
            Control(K::OKButton, kOKButton, 355, 217, 40, 12),
        });
}

DialogResource PastRuns()
{
    return Dialog(kDialogPastRuns, kModal, "Past Runs", {40, 11, 460, 150},
                  {
                      Control(K::ResultTable, kPastRunsList, 5, 5, 450, 113),
                      Control(K::FixedText, kPastRunsSkipped, 5, 120, 450, 10),
                      Control(K::PushButton, kPastRunsOpen, 370, 133, 40, 12, "~Open"),
                      Control(K::OKButton, kOKButton, 415, 133, 40, 12),
                  });
}

} // namespace

std::vector<DialogResource> TarvikDialogs()
{
    return {About(),   SetTopContext(), ReleaseNotes(), Splash(),  UserDetails(), RestoreObjects(),
            Restore(), PastRuns(),      Compare(),      Preview(), Find()};
}
