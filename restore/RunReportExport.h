// What the result list's Save... and Copy do with a run's record: Save asks where and writes CSV
// or JSON by the name's ending, Copy puts tab-separated text on the clipboard.
#pragma once

#include <cstddef>
#include <string>

struct RunReport;
class Window;

class RunReportExport
{
  public:
    // Both return what they did, in words for the dialog to show. A file that cannot be written
    // gives an error box naming the file and the reason, and nothing half-written is left under
    // the name; then, as when the user cancels, Save returns an empty text.
    static std::string Save(Window *parent, const RunReport &report);
    static std::string Copy(const RunReport &report);

    static std::string SaveErrorText(const std::string &path, const std::string &reason);
    static std::string SavedText(std::size_t lines, const std::string &path);
    static std::string CopiedText(std::size_t lines);
};
