// Every control of every dialog of the program, built from the resources as the dialogs build
// them, carries a name that assistive tools read: its own text, or for an entry field or a list
// the text that labels it.
#include <QWidget>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "res/ResourceIds.h"
#include "tests/res/InstalledResources.h"
#include "tests/support/gui/AccessibleEventLog.h"
#include "toolkit/BitmapButton.h"
#include "toolkit/CancelButton.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedIcon.h"
#include "toolkit/FixedText.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/MultiLineEdit.h"
#include "toolkit/OKButton.h"
#include "toolkit/PushButton.h"
#include "toolkit/RadioButton.h"
#include "toolkit/ResultTable.h"
#include "toolkit/TableBox.h"

namespace
{

std::unique_ptr<Control> Build(ModalDialog &dialog, const ControlResource &control)
{
    const ResId id(control.id);
    switch (control.kind) {
    case ControlKind::OKButton:
        return std::make_unique<OKButton>(&dialog, id);
    case ControlKind::CancelButton:
        return std::make_unique<CancelButton>(&dialog, id);
    case ControlKind::BitmapButton:
        return std::make_unique<BitmapButton>(&dialog, id);
    case ControlKind::FixedText:
        return std::make_unique<FixedText>(&dialog, id);
    case ControlKind::FixedIcon:
        return std::make_unique<FixedIcon>(&dialog, id);
    case ControlKind::GroupBox:
        return std::make_unique<GroupBox>(&dialog, id);
    case ControlKind::RadioButton:
        return std::make_unique<RadioButton>(&dialog, id);
    case ControlKind::CheckBox:
        return std::make_unique<CheckBox>(&dialog, id);
    case ControlKind::Edit:
        return std::make_unique<Edit>(&dialog, id);
    case ControlKind::MultiLineEdit:
        return std::make_unique<MultiLineEdit>(&dialog, id);
    case ControlKind::ListBox:
        return std::make_unique<ListBox>(&dialog, id);
    case ControlKind::PushButton:
        return std::make_unique<PushButton>(&dialog, id);
    case ControlKind::ResultTable:
        return std::make_unique<ResultTable>(&dialog, id);
    case ControlKind::TableBox:
        return std::make_unique<TableBox>(&dialog, id);
    default:
        return nullptr;
    }
}

class DialogAccessibility : public InstalledResources
{
};

} // namespace

TEST_F(DialogAccessibility, EveryControlHasTheNameItShows)
{
    for (const DialogResource &resource : TarvikResources().dialogs) {
        SCOPED_TRACE(resource.title);
        ModalDialog dialog(nullptr, ResId(resource.id));
        EXPECT_EQ(AccessibleName(AccessibleOf(dialog.Widget())), resource.title);
        for (const ControlResource &control : resource.controls) {
            SCOPED_TRACE(static_cast<int>(control.kind) * 1000 + control.id);
            std::unique_ptr<Control> built = Build(dialog, control);
            ASSERT_NE(built, nullptr) << "a kind of control the program's dialogs do not use";
            const std::string name = AccessibleName(AccessibleOf(built->Widget()));
            // A group box without a title is only a frame; a fixed text without one gets its
            // text (and so its name) at run time.
            if ((control.kind == ControlKind::GroupBox || control.kind == ControlKind::FixedText) &&
                control.text.empty()) {
                continue;
            }
            EXPECT_FALSE(name.empty());
            if (control.kind != ControlKind::Edit && control.kind != ControlKind::MultiLineEdit &&
                !control.text.empty()) {
                std::string shown = control.text; // "~" only marks the mnemonic letter
                std::erase(shown, '~');
                EXPECT_EQ(name, shown) << "a control with a text is named by it";
            }
        }
    }
}

TEST_F(DialogAccessibility, EntryFieldsAndListsAreNamedByTheirLabels)
{
    struct Case {
        uint16_t dialog;
        ControlKind kind;
        uint16_t id;
        std::string name;
    };
    const std::vector<Case> cases = {
        {kDialogUserDetails, ControlKind::Edit, kUserDetailsName, "Name:"},
        {kDialogUserDetails, ControlKind::Edit, kUserDetailsPassword, "Password:"},
        {kDialogSetTopContext, ControlKind::Edit, kSetTopContextEdit, "Enter new context:"},
        {kDialogReleaseNotes, ControlKind::MultiLineEdit, kReleaseNotesText,
         "TARVIK Release Notes"},
        {kDialogRestore, ControlKind::ListBox, kRestoreResults, "Restore"},
        {kDialogFind, ControlKind::Edit, kFindPattern, "Find what:"},
        {kDialogFind, ControlKind::ResultTable, kFindResults, "Results:"},
        {kDialogPreview, ControlKind::TableBox, kPreviewComparison, "Comparison with live:"},
        {kDialogPastRuns, ControlKind::ResultTable, kPastRunsList, "Past Runs"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ModalDialog dialog(nullptr, ResId(c.dialog));
        const ControlResource *control = dialog.FindControlResource(c.kind, ResId(c.id));
        ASSERT_NE(control, nullptr);
        std::unique_ptr<Control> built = Build(dialog, *control);
        EXPECT_EQ(AccessibleName(AccessibleOf(built->Widget())), c.name);
    }
}

TEST_F(DialogAccessibility, TheOnErrorChoicesAreRadioButtonsOfTheirGroup)
{
    ModalDialog dialog(nullptr, ResId(kDialogRestoreObjects));
    for (uint16_t id : {kRestoreObjectsContinue, kRestoreObjectsAskUser, kRestoreObjectsEnd}) {
        RadioButton radio(&dialog, ResId(id));
        QAccessibleInterface *iface = AccessibleOf(radio.Widget());
        EXPECT_EQ(iface->role(), QAccessible::RadioButton);
        EXPECT_EQ(iface->text(QAccessible::Description).toStdString(), "On error:");
        EXPECT_TRUE(iface->state().checkable);
        EXPECT_FALSE(iface->state().checked);
        radio.Check();
        EXPECT_TRUE(iface->state().checked);

        // A tool's press is a click: the program's handler hears it.
        int clicks = 0;
        radio.SetClickHdl([&clicks](Control &) { return long(++clicks); });
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(clicks, 1);
    }
}
