// "Restore Objects": confirms a restore run, showing the numbers of marked containers and leaf
// objects, and lets the user choose what the run does when an object fails.
#pragma once

#include <cstdint>

#include "restore/OnErrorMode.h"
#include "toolkit/CancelButton.h"
#include "toolkit/FixedText.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/RadioButton.h"

class RestoreOptionsDialog : public ModalDialog
{
  public:
    // Built over the main window, with "Continue" chosen.
    explicit RestoreOptionsDialog(Window *parent);

    void SetCounts(int32_t containers, int32_t leafObjects);
    // The chosen mode; "Continue" when no choice is on.
    OnErrorMode GetOnErrorMode() const;

  private:
    void FitTexts();
    long RadioClickHdl(Control &clicked);

    GroupBox onError_;
    RadioButton continue_;
    RadioButton askUser_;
    RadioButton end_;
    FixedText containersLabel_;
    FixedText leavesLabel_;
    FixedText containers_;
    FixedText leaves_;
    OKButton ok_;
    CancelButton cancel_;
};
