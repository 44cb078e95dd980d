// Base of every support-library class: a line trace that a shared switch turns on and off.
#pragma once

#include <cstdint>
#include <cstdio>

// Each object points at a switch (a caller-owned 32-bit int, or its own switch, which is always
// 0). While the switch is non-zero every traced step writes one line "Class::Operation.step"
// with "%s\n" to the object's stream; several objects given one switch go on and off together.
class MW_TraceObject
{
  public:
    static constexpr int MessageSize = 256; // messages up to 255 characters

    explicit MW_TraceObject(int32_t *traceSwitch = nullptr, std::FILE *traceStream = nullptr);
    MW_TraceObject(const MW_TraceObject &) = delete;
    MW_TraceObject &operator=(const MW_TraceObject &) = delete;

    // Writes the message and a newline to the stream. A null stream swallows the line.
    virtual void Trace(const char *message, std::FILE *stream);
    virtual ~MW_TraceObject();

    bool Tracing() const { return *switchPointer != 0; }
    std::FILE *TraceStream() const { return stream; }

  protected:
    // A traced step: the text as it is, or formatted with printf rules (cut at 255 characters).
    // The switch of a plain line is looked at inline: large registries store and delete many
    // entries untraced.
    void TraceLine(const char *text)
    {
        if (Tracing())
            WriteLine(text);
    }
    void TraceFormat(const char *format, ...) __attribute__((format(printf, 2, 3)));

  private:
    void WriteLine(const char *text);

    int32_t ownSwitch = 0;
    char message[MessageSize] = {};
    int32_t *switchPointer;
    std::FILE *stream;
};
