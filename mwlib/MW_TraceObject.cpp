// Base of every support-library class: a line trace that a shared switch turns on and off.
#include "mwlib/MW_TraceObject.h"

#include <cstdarg>

MW_TraceObject::MW_TraceObject(int32_t *traceSwitch, std::FILE *traceStream)
    : switchPointer(traceSwitch ? traceSwitch : &ownSwitch), stream(traceStream)
{
}

MW_TraceObject::~MW_TraceObject() = default;

void MW_TraceObject::Trace(const char *text, std::FILE *out)
{
    if (out)
        std::fprintf(out, "%s\n", text);
}

void MW_TraceObject::WriteLine(const char *text)
{
    std::snprintf(message, sizeof message, "%s", text);
    Trace(message, stream);
}

void MW_TraceObject::TraceFormat(const char *format, ...)
{
    if (!Tracing())
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    Trace(message, stream);
}
