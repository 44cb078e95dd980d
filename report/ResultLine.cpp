#include "report/ResultLine.h"

std::string ResultLineText(const ReportedObject &object)
{
    std::string line = object.name;
    if (!object.Restored()) {
        line += " - ";
        line += OutcomeText(object.outcome);
        if (!object.message.empty()) {
            line += ": " + object.message;
        }
    } else if (!object.note.empty()) {
        line += " - " + object.note;
    }
    return line;
}
