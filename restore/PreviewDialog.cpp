#include "restore/PreviewDialog.h"

#include "res/ResourceIds.h"
#include "restore/ComparisonTable.h"
#include "toolkit/International.h"
#include "toolkit/Placement.h"

PreviewDialog::PreviewDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogPreview)), counts_(this, ResId(kPreviewCounts)),
      lines_(this, ResId(kPreviewLines)), comparisonLabel_(this, ResId(kPreviewComparisonLabel)),
      comparison_(this, ResId(kPreviewComparison)), showSame_(this, ResId(kPreviewShowSame)),
      ok_(this, ResId(kOKButton))
{
    FreeResource();
    lines_.SetColumns({"Object", "Version", "Action"});
    lines_.ElideInMiddle(0);
    lines_.SetAccessibleName(kLinesName);
    ComparisonTable::SetColumns(comparison_);
    comparison_.SetAccessibleName(kComparisonName);
    SetResizable();
    Follow(counts_, Anchor::Wider());
    Follow(lines_, {0, 0, 1, 0.5});
    Follow(comparisonLabel_, {0, 0.5, 1, 0});
    Follow(comparison_, {0, 0.5, 1, 0.5});
    Follow(showSame_, Anchor::Below());
    Follow(ok_, Anchor::Corner());
    RememberSize("Preview");
    lines_.SetSelectHdl([this](Control &table) { return ShowLineHdl(table); });
    showSame_.SetClickHdl([this](Control &box) { return ShowLineHdl(box); });
    CenterOver(*this, parent);
}

void PreviewDialog::SetLines(std::vector<PreviewLine> lines, bool stopped)
{
    previewed_ = std::move(lines);
    counts_.SetText(RestorePreview::CountsText(RestorePreview::Count(previewed_)) +
                    (stopped ? " (stopped before the end of the run)" : ""));
    lines_.Clear();
    for (const PreviewLine &line : previewed_) {
        const std::string version =
            line.version == 0 ? "most recent" : FormatDateTime(line.version);
        lines_.AddRow({line.name, version, RestorePreview::ActionText(line)});
    }
    lines_.FitColumns();
    if (!previewed_.empty()) {
        lines_.SelectRow(0);
    }
    ShowLineHdl(lines_);
}

long PreviewDialog::ShowLineHdl(Control &)
{
    const int row = lines_.GetSelectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= previewed_.size()) {
        comparison_.Clear();
        return 1;
    }
    ComparisonTable::Fill(comparison_, previewed_[static_cast<std::size_t>(row)].compared,
                          showSame_.IsChecked());
    return 1;
}
