// A run's record as JSON: one object with the run's fields and an array of its objects. The
// journal keeps each run on one line; a saved file is indented for reading. Reading accepts
// either and ignores members it does not know, so that a later program's records still read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "report/RunReport.h"

enum class JsonLayout { OneLine, Indented };

std::string RunReportToJson(const RunReport &report, JsonLayout layout);
// Empty when the text is not one run's record: not JSON, a member missing or of the wrong
// kind, a time or a word that does not read.
std::optional<RunReport> RunReportFromJson(std::string_view text);
