// What the result list's Save... and Copy do with a run's record: Save asks where and writes CSV
// or JSON by the name's ending, Copy puts tab-separated text on the clipboard.
#pragma once

#include <string>

struct RunReport;
class Window;

class RunReportExport
{
  public:
    // A file that cannot be written gives an error box naming the file and the reason; nothing
    // half-written is left under the name.
    static void Save(Window *parent, const RunReport &report);
    static void Copy(const RunReport &report);

    static std::string SaveErrorText(const std::string &path, const std::string &reason);
};
