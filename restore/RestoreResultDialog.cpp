// The restore result list, its two forms and its layout at any size.
#include "restore/RestoreResultDialog.h"

#include <algorithm>

#include "res/ResourceIds.h"
#include "restore/RunReportExport.h"
#include "toolkit/Bitmap.h"

namespace
{
struct ResultPictures {
    Bitmap success{ResId(kBitmapRestGood)};
    Bitmap failure{ResId(kBitmapRestFail)};
};

const ResultPictures &Pictures()
{
    static const ResultPictures pictures;
    return pictures;
}
} // namespace

const Bitmap &RestoreResultDialog::SuccessPicture()
{
    return Pictures().success;
}
const Bitmap &RestoreResultDialog::FailurePicture()
{
    return Pictures().failure;
}

RestoreResultDialog::RestoreResultDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogRestore)), question_(this, ResId(kRestoreQuestion)),
      results_(this, ResId(kRestoreResults)), stillMarked_(this, ResId(kRestoreStillMarked)),
      wholeLine_(this, ResId(kRestoreWholeLine)), done_(this, ResId(kRestoreDone)),
      save_(this, ResId(kRestoreSave)), copy_(this, ResId(kRestoreCopy)),
      ok_(this, ResId(kOKButton)), cancel_(this, ResId(kCancelButton)), okText_(ok_.GetText())
{
    FreeResource();
    Pictures();
    question_.SetWrapping();
    question_.Hide();
    stillMarked_.Hide();
    wholeLine_.SetReadOnly();
    wholeLine_.SetText("");
    wholeLine_.SetAccessibleName("Selected line");
    done_.SetElidedInMiddle();
    done_.Hide();
    save_.Hide();
    copy_.Hide();
    results_.SetSelectHdl([this](ListBox &) {
        ShowWholeLine();
        return 1L;
    });
    save_.SetClickHdl([this](Control &) {
        if (report_) {
            SayDone(RunReportExport::Save(this, *report_));
        }
        return 1L;
    });
    copy_.SetClickHdl([this](Control &) {
        if (report_) {
            SayDone(RunReportExport::Copy(*report_));
        }
        return 1L;
    });
    SetResizable();
    RememberSize("Results");
    Resize();
}

void RestoreResultDialog::SetPromptMode(bool finalForm)
{
    if (finalForm) {
        ok_.SetText(okText_);
        cancel_.Hide();
        question_.Hide();
        asking_ = false;
        buttonsLow_ = true;
    } else {
        ok_.SetText("Continue");
        cancel_.SetText("Abort");
        cancel_.Show();
        stillMarked_.Hide();
        noted_ = false;
        save_.Hide();
        copy_.Hide();
        buttonsLow_ = false;
    }
    Resize();
}

// A failed line already says "failed" and the server's reason.
std::string RestoreResultDialog::SpokenLine(const std::string &text, bool success)
{
    return success ? "restored: " + text : text;
}

void RestoreResultDialog::AddResultLine(const std::string &text, bool success)
{
    results_.InsertEntry(text, success ? SuccessPicture() : FailurePicture());
    // The picture alone tells a success from a failure; a screen reader hears it in words.
    results_.SetEntrySpokenText(results_.GetEntryCount() - 1, SpokenLine(text, success));
    if (!success) {
        results_.SelectEntryPos(results_.GetEntryCount() - 1);
    }
}

std::string RestoreResultDialog::QuestionText(const std::string &failedName)
{
    return "The restore of " + failedName +
           " failed. Continue with the next object, or abort the run?";
}

std::string RestoreResultDialog::StillMarkedText(std::size_t count)
{
    return count == 1 ? "1 object was not restored and is still marked."
                      : std::to_string(count) + " objects were not restored and are still marked.";
}

void RestoreResultDialog::AskAbout(const std::string &failedName)
{
    question_.SetText(QuestionText(failedName));
    question_.Show();
    asking_ = true;
    Resize();
}

void RestoreResultDialog::SetStillMarked(std::size_t count)
{
    noted_ = count > 0;
    stillMarked_.SetText(noted_ ? StillMarkedText(count) : "");
    noted_ ? stillMarked_.Show() : stillMarked_.Hide();
    Resize();
}

void RestoreResultDialog::SetReport(const RunReport *report)
{
    report_ = report;
    report_ ? save_.Show() : save_.Hide();
    report_ ? copy_.Show() : copy_.Hide();
}

void RestoreResultDialog::SayDone(const std::string &what)
{
    if (!what.empty()) {
        done_.SetText(what);
        done_.Show();
        Resize();
    }
}

std::string RestoreResultDialog::DoneText() const
{
    return done_.IsHidden() ? std::string() : done_.GetText();
}

void RestoreResultDialog::ShowWholeLine()
{
    const int selected = results_.GetSelectEntryPos();
    wholeLine_.SetText(selected == ListBox::kNoSelection ? "" : results_.GetEntry(selected));
}

// At the starting size every control keeps its resource place, but the list: without the question
// it starts where the list of the final form always stood, without the note it reaches down to
// the note's line. The final form has no Abort below OK: its buttons take Abort's row, so no
// empty band stays under them, and what stands above them moves down as far. Beyond that size the
// buttons keep to the bottom right corner; the whole line and the note keep below the list, the
// whole line taking a third of the added height; the list takes the rest. A long question may take
// up to twice its place, pushing the list down.
void RestoreResultDialog::Resize()
{
    const Size start = StartSize();
    const Size now = GetSizePixel();
    const Size grown{std::max(0, now.width - start.width), std::max(0, now.height - start.height)};
    const int lineGrowth = grown.height / 3;
    const int lowered = buttonsLow_ ? cancel_.ResourceRect().top - ok_.ResourceRect().top : 0;
    const Point belowList{0, grown.height - lineGrowth + lowered};

    for (Control *button : std::initializer_list<Control *>{&save_, &copy_, &ok_}) {
        button->PlaceFromResource({grown.width, grown.height + lowered}, {});
    }
    cancel_.PlaceFromResource({grown.width, grown.height}, {});
    done_.PlaceFromResource({0, belowList.y + lineGrowth}, {grown.width, 0});
    // The note on what Save... or Copy did takes the whole line's last line.
    const int noteRoom = done_.IsHidden() ? 0
                                          : wholeLine_.ResourceRect().bottom -
                                                done_.ResourceRect().top + Units().ToPixelY(2);
    wholeLine_.PlaceFromResource(belowList, {grown.width, lineGrowth - noteRoom});
    stillMarked_.PlaceFromResource(belowList, {grown.width, 0});

    const Rectangle question = question_.ResourceRect();
    const int questionGrowth =
        asking_
            ? std::clamp(question_.HeightFor(question.Width() + grown.width) - question.Height(), 0,
                         question.Height())
            : 0;
    question_.PlaceFromResource({}, {grown.width, questionGrowth});

    const Rectangle list = results_.ResourceRect();
    const int top = asking_ ? list.top + questionGrowth : Units().ToPixelY(kListTopAlone);
    const int bottom = (noted_ ? list.bottom : stillMarked_.ResourceRect().bottom) + belowList.y;
    results_.PlaceFromResource({0, top - list.top},
                               {grown.width, bottom - list.bottom - (top - list.top)});
}
