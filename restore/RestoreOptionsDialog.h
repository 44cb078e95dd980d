// "Restore Objects": confirms a restore run, showing the numbers of marked containers and leaf
// objects, and lets the user choose what the run does when an object fails.
#pragma once

#include <cstdint>

#include "report/OnError.h"
#include "restore/OverwriteCount.h"
#include "toolkit/CancelButton.h"
#include "toolkit/DialogNote.h"
#include "toolkit/FixedText.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/PushButton.h"
#include "toolkit/RadioButton.h"
#include "toolkit/RadioGroup.h"

class RestoreOptionsDialog : public ModalDialog
{
  public:
    // Built over the main window, with "Continue" chosen.
    explicit RestoreOptionsDialog(Window *parent);

    void SetCounts(int32_t containers, int32_t leafObjects);
    // When a present container is marked with its subtree, says below the counts how many
    // loaded present objects the run will overwrite, or, when a container there was never
    // opened, that how many is not known (until previewed, when Preview is offered);
    // otherwise nothing is shown.
    void SetOverwritten(const OverwriteCount &count);
    std::string OverwrittenText() const { return overwritten_.GetText(); }
    // "Preview..." runs the handler; when the server cannot compare versions it is disabled.
    void SetPreviewHdl(Link<Control> link) { preview_.SetClickHdl(std::move(link)); }
    void EnablePreview(bool enable);
    PushButton &PreviewButton() { return preview_; }
    // The chosen mode; "Continue" when no choice is on.
    OnError GetOnErrorMode() const;

  private:
    void FitTexts();
    void ShowOverwritten();
    long RadioClickHdl(Control &clicked);

    GroupBox onError_;
    RadioButton continue_;
    RadioButton askUser_;
    RadioButton end_;
    RadioGroup choices_{{&continue_, &askUser_, &end_}};
    FixedText containersLabel_;
    FixedText leavesLabel_;
    FixedText containers_;
    FixedText leaves_;
    OKButton ok_;
    CancelButton cancel_;
    PushButton preview_;
    DialogNote overwritten_;
    OverwriteCount overwrite_;
    bool previewOffered_ = true;
};
