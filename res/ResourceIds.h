// Names for the ids of the program's resources and of the controls inside its dialogs.
#pragma once

#include <cstdint>

// Menu bar of the main window and its items; the main window dispatches on the item ids.
inline constexpr uint16_t kMenuMain = 256;
inline constexpr uint16_t kMenuItemExit = 1;
inline constexpr uint16_t kMenuItemView = 2;
inline constexpr uint16_t kMenuItemSetTopContext = 3;
inline constexpr uint16_t kMenuItemSetUserContext = 4;
inline constexpr uint16_t kMenuItemSelection = 5;
inline constexpr uint16_t kMenuItemClearAll = 6;
inline constexpr uint16_t kMenuItemClearSubtree = 7;
inline constexpr uint16_t kMenuItemOperations = 8;
inline constexpr uint16_t kMenuItemRestore = 9;
inline constexpr uint16_t kMenuItemPastRuns = 13;
inline constexpr uint16_t kMenuItemHelp = 10;
inline constexpr uint16_t kMenuItemAbout = 11;
inline constexpr uint16_t kMenuItemReleaseNotes = 12;
inline constexpr uint16_t kMenuItemCompare = 14; // the picked version, else the newest
inline constexpr uint16_t kMenuItemFind = 15;

inline constexpr uint16_t kStringReleaseNotes = 256; // ends with "\r\n"
inline constexpr uint16_t kStringVersion = 257;

// The fonts keep the names the dialogs were laid out with.
inline constexpr uint16_t IDF_LightFont = 256;
inline constexpr uint16_t IDF_VersionFont = 257;

// Bitmaps, named after their pictures: container open/closed, leaf object, each deleted or
// present; the splash picture; the two restore outcomes.
inline constexpr uint16_t kBitmapConoDele = 256;
inline constexpr uint16_t kBitmapConoPres = 257;
inline constexpr uint16_t kBitmapObjDelet = 258;
inline constexpr uint16_t kBitmapObjPrese = 259;
inline constexpr uint16_t kBitmapConcDele = 260;
inline constexpr uint16_t kBitmapConcPres = 261;
inline constexpr uint16_t kBitmapSplash = 262;
inline constexpr uint16_t kBitmapRestFail = 263;
inline constexpr uint16_t kBitmapRestGood = 264;

inline constexpr uint16_t kIconTarvik = 256;

inline constexpr uint16_t kDialogAbout = 256;
inline constexpr uint16_t kDialogSetTopContext = 257;
inline constexpr uint16_t kDialogReleaseNotes = 258;
inline constexpr uint16_t kDialogSplash = 259; // modeless, without title
inline constexpr uint16_t kDialogUserDetails = 260;
inline constexpr uint16_t kDialogRestoreObjects = 261;
inline constexpr uint16_t kDialogRestore = 262;
inline constexpr uint16_t kDialogPastRuns = 263;
inline constexpr uint16_t kDialogCompare = 264;
inline constexpr uint16_t kDialogPreview = 265;
inline constexpr uint16_t kDialogFind = 266; // modeless

// Controls, by dialog. A local id is unique only among the controls of one kind, so several
// names below share a value. OK and Cancel buttons are 1 in every dialog that has them.
inline constexpr uint16_t kOKButton = 1;
inline constexpr uint16_t kCancelButton = 1;

inline constexpr uint16_t kAboutPicture = 1;     // bitmap button
inline constexpr uint16_t kAboutFirstNotice = 1; // fixed texts 1 to 5
inline constexpr uint16_t kAboutLastNotice = 5;
inline constexpr uint16_t kAboutVersion = 6; // fixed text

inline constexpr uint16_t kSetTopContextPrompt = 1; // fixed text
inline constexpr uint16_t kSetTopContextEdit = 1;
inline constexpr uint16_t kSetTopContextFrame = 1; // group box

inline constexpr uint16_t kReleaseNotesText = 1; // multi-line edit

inline constexpr uint16_t kSplashPicture = 1; // bitmap button
inline constexpr uint16_t kSplashVersion = 1; // fixed text

inline constexpr uint16_t kUserDetailsNameLabel = 1;     // fixed text
inline constexpr uint16_t kUserDetailsPasswordLabel = 2; // fixed text
inline constexpr uint16_t kUserDetailsName = 1;          // edit
inline constexpr uint16_t kUserDetailsPassword = 2;      // edit, masked
inline constexpr uint16_t kUserDetailsFrame = 1;         // group box
inline constexpr uint16_t kUserDetailsIcon = 1;          // fixed icon

inline constexpr uint16_t kRestoreObjectsOnError = 2;  // group box
inline constexpr uint16_t kRestoreObjectsContinue = 1; // radio buttons 1 to 3
inline constexpr uint16_t kRestoreObjectsAskUser = 2;
inline constexpr uint16_t kRestoreObjectsEnd = 3;
inline constexpr uint16_t kRestoreObjectsContainersLabel = 1; // fixed texts
inline constexpr uint16_t kRestoreObjectsLeavesLabel = 2;
inline constexpr uint16_t kRestoreObjectsContainers = 3;
inline constexpr uint16_t kRestoreObjectsLeaves = 4;
inline constexpr uint16_t kRestoreObjectsPreview = 1; // push button

inline constexpr uint16_t kRestoreResults = 1;     // list box
inline constexpr uint16_t kRestoreQuestion = 1;    // fixed text: what the prompt asks
inline constexpr uint16_t kRestoreStillMarked = 2; // fixed text: failures left marked
inline constexpr uint16_t kRestoreDone = 3;        // fixed text: what Save... or Copy did
inline constexpr uint16_t kRestoreWholeLine = 1;   // multi-line edit: the selected line whole
inline constexpr uint16_t kRestoreSave = 1;        // push buttons
inline constexpr uint16_t kRestoreCopy = 2;

inline constexpr uint16_t kPastRunsList = 1;    // result table
inline constexpr uint16_t kPastRunsSkipped = 1; // fixed text: damaged lines left out
inline constexpr uint16_t kPastRunsOpen = 1;    // push button

inline constexpr uint16_t kFindPatternLabel = 1; // fixed texts
inline constexpr uint16_t kFindResultsLabel = 2;
inline constexpr uint16_t kFindStatus = 3;
inline constexpr uint16_t kFindPattern = 1;     // edit
inline constexpr uint16_t kFindDeletedOnly = 1; // check box
inline constexpr uint16_t kFindButton = 1;      // push buttons
inline constexpr uint16_t kFindStop = 2;
inline constexpr uint16_t kFindClose = 3;
inline constexpr uint16_t kFindResults = 1; // result table

inline constexpr uint16_t kCompareHeading = 1;  // fixed texts
inline constexpr uint16_t kCompareNote = 2;     // how many attributes differ
inline constexpr uint16_t kCompareTable = 1;    // table box
inline constexpr uint16_t kCompareShowSame = 1; // check box

inline constexpr uint16_t kPreviewCounts = 1; // fixed texts
inline constexpr uint16_t kPreviewComparisonLabel = 2;
inline constexpr uint16_t kPreviewLines = 1; // table boxes
inline constexpr uint16_t kPreviewComparison = 2;
inline constexpr uint16_t kPreviewShowSame = 1; // check box
