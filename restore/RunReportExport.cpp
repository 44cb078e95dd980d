#include "restore/RunReportExport.h"

#include "report/DelimitedText.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "toolkit/Clipboard.h"
#include "toolkit/MessageBox.h"
#include "toolkit/SaveFileDialog.h"

void RunReportExport::Save(Window *parent, const RunReport &report)
{
    SaveFileDialog dialog(parent, "Save Results", SuggestedReportName(report),
                          {{"CSV files", "csv"}, {"JSON files", "json"}});
    if (dialog.Execute() != 1) {
        return;
    }
    const std::string reason = SaveReport(dialog.GetPath(), report);
    if (!reason.empty()) {
        ErrorBox(parent, WB_OK, SaveErrorText(dialog.GetPath(), reason)).Execute();
    }
}

void RunReportExport::Copy(const RunReport &report)
{
    Clipboard::SetText(TabSeparatedText(ReportTable(report)));
}

std::string RunReportExport::SaveErrorText(const std::string &path, const std::string &reason)
{
    return "Unable to save the results to " + path + ":\n" + reason;
}
