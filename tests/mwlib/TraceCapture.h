// Collects the trace lines that support-library objects write, for exact comparison in tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

class TraceCapture
{
  public:
    TraceCapture() : stream(open_memstream(&buffer, &size)) {}
    ~TraceCapture()
    {
        std::fclose(stream);
        std::free(buffer);
    }
    TraceCapture(const TraceCapture &) = delete;
    TraceCapture &operator=(const TraceCapture &) = delete;

    std::FILE *Stream() const { return stream; }

    // The lines written since the last call.
    std::vector<std::string> TakeLines()
    {
        std::fflush(stream);
        std::vector<std::string> lines;
        std::string line;
        for (std::size_t i = taken; i < size; ++i) {
            if (buffer[i] == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += buffer[i];
            }
        }
        taken = size;
        return lines;
    }

  private:
    char *buffer = nullptr;
    std::size_t size = 0;
    std::size_t taken = 0;
    std::FILE *stream;
};

// An address as the trace lines print it.
inline std::string TracedAddress(const void *pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lX",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(pointer)));
    return text;
}
