// The restore options dialog: counts, on-error choice and its placement over the main window.
#include "restore/RestoreOptionsDialog.h"

#include <algorithm>
#include <cstdio>

#include "res/ResourceIds.h"
#include "server/ServerClient.h"
#include "toolkit/Placement.h"

namespace
{
constexpr int kLabelGap = 3; // dialog units between a label and its count
void SetNumber(FixedText &text, int32_t number)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(number));
    text.SetText(buffer);
}
} // namespace

RestoreOptionsDialog::RestoreOptionsDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogRestoreObjects)),
      onError_(this, ResId(kRestoreObjectsOnError)),
      continue_(this, ResId(kRestoreObjectsContinue)),
      askUser_(this, ResId(kRestoreObjectsAskUser)), end_(this, ResId(kRestoreObjectsEnd)),
      containersLabel_(this, ResId(kRestoreObjectsContainersLabel)),
      leavesLabel_(this, ResId(kRestoreObjectsLeavesLabel)),
      containers_(this, ResId(kRestoreObjectsContainers)),
      leaves_(this, ResId(kRestoreObjectsLeaves)), ok_(this, ResId(kOKButton)),
      cancel_(this, ResId(kCancelButton)), preview_(this, ResId(kRestoreObjectsPreview)),
      overwritten_(this)
{
    FreeResource();
    FitTexts();
    continue_.Check();
    for (RadioButton *choice : {&continue_, &askUser_, &end_}) {
        choice->SetClickHdl([this](Control &clicked) { return RadioClickHdl(clicked); });
    }
    const std::vector<Control *> buttons{&ok_, &cancel_, &preview_};
    for (Control *button : buttons) {
        Follow(*button, Anchor::Right());
    }
    WidenButtonColumn(*this, buttons);
    WidenForTitle();
    CenterOver(*this, parent);
}

// A choice's mark and text, and the labels, may need more width than they were laid out with; the
// counts then stand a little behind the longer label instead of touching it.
void RestoreOptionsDialog::FitTexts()
{
    for (Window *control : {static_cast<Window *>(&continue_), static_cast<Window *>(&askUser_),
                            static_cast<Window *>(&end_), static_cast<Window *>(&containersLabel_),
                            static_cast<Window *>(&leavesLabel_)}) {
        WidenToContent(*control);
    }
    int labelsEnd = 0;
    for (const FixedText *label : {&containersLabel_, &leavesLabel_}) {
        labelsEnd = std::max(labelsEnd, label->GetPosPixel().x + label->GetSizePixel().width);
    }
    int countsX = labelsEnd + Units().ToPixelX(kLabelGap);
    for (FixedText *count : {&containers_, &leaves_}) {
        Point pos = count->GetPosPixel();
        count->SetPosPixel({std::max(pos.x, countsX), pos.y});
    }
}

// Whatever the toolkit did with the click (a click on the chosen button turns it off), exactly
// one choice is on afterwards: the clicked one.
long RestoreOptionsDialog::RadioClickHdl(Control &clicked)
{
    continue_.Check(false);
    askUser_.Check(false);
    end_.Check(false);
    for (RadioButton *choice : {&continue_, &askUser_, &end_}) {
        if (choice == &clicked) {
            choice->Check();
        }
    }
    return 1;
}

void RestoreOptionsDialog::SetCounts(int32_t containers, int32_t leafObjects)
{
    SetNumber(containers_, containers);
    SetNumber(leaves_, leafObjects);
    WidenToContent(containers_);
    WidenToContent(leaves_);
}

void RestoreOptionsDialog::SetOverwritten(const OverwriteCount &count)
{
    std::string text;
    if (count.presentContainers > 0) {
        const bool one = count.loadedPresentBelow == 1;
        text = "Marked present containers are restored with their subtrees: " +
               std::to_string(count.loadedPresentBelow) +
               (one ? " present object loaded below them will be overwritten with its"
                      " backed-up version."
                    : " present objects loaded below them will be overwritten with their"
                      " backed-up versions.");
    }
    overwritten_.SetText(text);
    CenterOver(*this, GetParent());
}

void RestoreOptionsDialog::EnablePreview(bool enable)
{
    preview_.Enable(enable);
    preview_.SetQuickHelpText(enable ? "" : ServerClient::kCannotCompare);
}

OnErrorMode RestoreOptionsDialog::GetOnErrorMode() const
{
    if (askUser_.IsChecked()) {
        return OnErrorAskUser;
    }
    if (continue_.IsChecked()) {
        return OnErrorContinue;
    }
    if (end_.IsChecked()) {
        return OnErrorEnd;
    }
    return OnErrorContinue;
}
