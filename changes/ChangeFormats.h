// A change report as text: aligned columns for people with the counts first, CSV with the header
// object,kind,change,old name,attributes,deleted, a JSON array of records with those keys
// ("oldName", "attributes" as an array, "deleted" a time or null), tab-separated for the
// clipboard, or the objects a restore would take, one OBJECT@VERSION a line, as a list of objects
// to restore is read. Attributes are named only: a report never holds a value.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "server/ObjectChange.h"

enum class ChangeFormat { Text, Csv, Json, TabSeparated, Objects };

class ChangeFormats
{
  public:
    using TimeText = std::function<std::string(BackupTime)>;

    // `timeText` writes a time of deletion; `version` is what follows "@" in the objects format
    // (the earlier point).
    static std::string Render(ChangeFormat format, const std::vector<ObjectChange> &rows,
                              const TimeText &timeText, const std::string &version);

    // The cells of a row, as the table and the text show them: object, kind, change, old name,
    // attributes (a comma and a blank between), the time of deletion.
    static std::vector<std::string> Cells(const ObjectChange &row, const TimeText &timeText);
    static std::vector<std::string> Header();

  private:
    static std::string Json(const std::vector<ObjectChange> &rows, const TimeText &timeText);
    static std::string Objects(const std::vector<ObjectChange> &rows, const std::string &version);
};
