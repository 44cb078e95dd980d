// "Restore Preview": what a run would do, in its order, with the counts at the top; choosing a
// line shows its comparison with the live object below.
#pragma once

#include <vector>

#include "model/RestorePreview.h"
#include "toolkit/CheckBox.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/TableBox.h"

class PreviewDialog : public ModalDialog
{
  public:
    static constexpr const char *kLinesName = "What the run would do";
    static constexpr const char *kComparisonName =
        "Attributes of the version and of the live object";

    explicit PreviewDialog(Window *parent);

    // stopped: the preview did not reach the end of the run.
    void SetLines(std::vector<PreviewLine> lines, bool stopped);
    std::string CountsText() const { return counts_.GetText(); }
    TableBox &Lines() { return lines_; }
    TableBox &Comparison() { return comparison_; }
    CheckBox &ShowSame() { return showSame_; }

  private:
    long ShowLineHdl(Control &);

    FixedText counts_;
    TableBox lines_;
    FixedText comparisonLabel_;
    TableBox comparison_;
    CheckBox showSame_;
    OKButton ok_;
    std::vector<PreviewLine> previewed_;
};
