// The line of the result list that shows one object: its full name, as the window names it,
// alone when it was restored (followed by " - " and the note when there is one: parents added,
// what a subtree's restore added and changed, "unchanged: nothing differed"), else followed by
// " - ", what became of it and why ("failed: " and the server's reason, "not tried: the run was
// stopped"). A run's own list, a past run's list and the prompt after a failure all use it, so
// that they read the same.
#pragma once

#include <string>

#include "report/RunReport.h"

std::string ResultLineText(const ReportedObject &object);
