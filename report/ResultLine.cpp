#include "report/ResultLine.h"

std::string ResultLineText(std::string_view name, int32_t status, std::string_view message,
                           std::string_view note)
{
    std::string line(name);
    if (status != 0) {
        line += " - failed on Object '";
        line += message;
        line += "'";
    } else if (!note.empty()) {
        line += " - ";
        line += note;
    }
    return line;
}

std::string ResultLineText(const ReportedObject &object)
{
    return ResultLineText(object.name, object.status, object.message, object.note);
}
