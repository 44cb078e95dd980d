// The line of the result list that shows one object's outcome: the name alone when it was
// restored (followed by " - " and the note when there is one), else
// "<name> - failed on Object '<message>'". A run's own list and a past run's list both use it,
// so that they read the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/RunReport.h"

std::string ResultLineText(std::string_view name, int32_t status, std::string_view message,
                           std::string_view note);
std::string ResultLineText(const ReportedObject &object);
