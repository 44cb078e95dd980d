// Fuzzes the parser of distinguished names: a name that parses has one typeless label per
// level, prints to a text that parses to the same name, and its canonical form is its own.
#include "catalogue/DistinguishedName.h"

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
    const auto name = DistinguishedName::Parse(text);
    if (!name)
        return 0;
    if (!name->Empty()) {
        const auto labels = DistinguishedName::SplitTypeless(name->TypelessName());
        Check(labels.size() == name->Rdns().size());
        for (std::size_t level = 0; level < labels.size(); ++level)
            Check(labels[level] == DistinguishedName::Label(name->Rdns()[level]));
    }
    const auto printed = DistinguishedName::Parse(name->Text());
    Check(printed && printed->Canonical() == name->Canonical());
    const auto canonical = DistinguishedName::Parse(name->Canonical());
    Check(canonical && canonical->Canonical() == name->Canonical());
    return 0;
}
