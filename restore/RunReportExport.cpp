#include "restore/RunReportExport.h"

#include "report/DelimitedText.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/RunReport.h"
#include "toolkit/Clipboard.h"
#include "toolkit/MessageBox.h"
#include "toolkit/SaveFileDialog.h"

std::string RunReportExport::Save(Window *parent, const RunReport &report)
{
    SaveFileDialog dialog(parent, "Save Results", SuggestedReportName(report),
                          {{"CSV files", "csv"}, {"JSON files", "json"}});
    if (dialog.Execute() != 1) {
        return {};
    }
    const std::string reason = SaveReport(dialog.GetPath(), report);
    if (!reason.empty()) {
        ErrorBox(parent, WB_OK, SaveErrorText(dialog.GetPath(), reason)).Execute();
        return {};
    }
    return SavedText(report.objects.size(), dialog.GetPath());
}

std::string RunReportExport::Copy(const RunReport &report)
{
    Clipboard::SetText(TabSeparatedText(ReportTable(report)));
    return CopiedText(report.objects.size());
}

namespace
{
std::string Lines(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " line" : " lines");
}
} // namespace

std::string RunReportExport::SavedText(std::size_t lines, const std::string &path)
{
    return "Saved " + Lines(lines) + " to " + path;
}

std::string RunReportExport::CopiedText(std::size_t lines)
{
    return "Copied " + Lines(lines) + " to the clipboard";
}

std::string RunReportExport::SaveErrorText(const std::string &path, const std::string &reason)
{
    return "Unable to save the results to " + path + ":\n" + reason;
}
