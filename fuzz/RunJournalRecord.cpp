// Fuzzes the reader of the journal's records: whatever a line holds is refused or read, never
// crashes or hangs; a record read once writes a record that reads back to the same text, in both
// layouts.
#include "report/RunReportJson.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto read = RunReportFromJson(text);
    if (!read)
        return 0;
    // Text that is not UTF-8 is repaired on the first write; from then on nothing changes.
    for (JsonLayout layout : {JsonLayout::OneLine, JsonLayout::Indented}) {
        const std::string written = RunReportToJson(*read, layout);
        const auto again = RunReportFromJson(written);
        Check(again.has_value());
        Check(RunReportToJson(*again, layout) == written);
        Check(again->objects.size() == read->objects.size());
        Check(again->started == read->started && again->ended == read->ended);
    }
    return 0;
}
