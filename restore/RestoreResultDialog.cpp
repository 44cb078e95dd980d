// The restore result list and its two forms.
#include "restore/RestoreResultDialog.h"

#include "res/ResourceIds.h"
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
    : ModalDialog(parent, ResId(kDialogRestore)), results_(this, ResId(kRestoreResults)),
      ok_(this, ResId(kOKButton)), cancel_(this, ResId(kCancelButton)), okText_(ok_.GetText())
{
    FreeResource();
    Pictures();
}

void RestoreResultDialog::SetPromptMode(bool finalForm)
{
    if (finalForm) {
        ok_.SetText(okText_);
        cancel_.Hide();
    } else {
        ok_.SetText("Continue");
        cancel_.SetText("Abort");
        cancel_.Show();
    }
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
}
