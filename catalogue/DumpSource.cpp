// Choosing how a dump file is read by the ending of its name.
#include "catalogue/DumpSource.h"

#include "catalogue/GzipDump.h"
#include "catalogue/XzDump.h"
#include "catalogue/ZstdDump.h"

namespace
{
const char *const kEndings[] = {".ldif", ".ldif.gz", ".ldif.zst", ".ldif.xz"};

bool EndsWith(const std::string &name, std::string_view ending)
{
    return name.size() > ending.size() &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}
} // namespace

bool DumpSource::IsDumpName(const std::string &name)
{
    for (const char *ending : kEndings) {
        if (EndsWith(name, ending)) {
            return true;
        }
    }
    return false;
}

std::string DumpSource::Stem(const std::string &name)
{
    for (const char *ending : kEndings) {
        if (EndsWith(name, ending)) {
            return name.substr(0, name.size() - std::string_view(ending).size());
        }
    }
    return name;
}

std::unique_ptr<DumpSource> DumpSource::Open(const std::string &path, std::string &fault)
{
    std::unique_ptr<DumpSource> source;
    if (EndsWith(path, ".gz")) {
        source = std::make_unique<GzipDump>(path);
    } else if (EndsWith(path, ".zst")) {
        source = std::make_unique<ZstdDump>(path);
    } else if (EndsWith(path, ".xz")) {
        source = std::make_unique<XzDump>(path);
    } else {
        source = std::make_unique<PlainDump>(path);
    }
    if (!source->Fault().empty()) {
        fault = source->Fault();
        return nullptr;
    }
    return source;
}
