// One line of progress, rewritten with a carriage return.
#include "cli/Progress.h"

namespace
{
constexpr std::size_t kDefaultWidth = 80;
// Go to the start of the line and clear it.
constexpr const char *kClearLine = "\r\x1b[K";
} // namespace

Progress::Progress(std::ostream &out, bool shown, std::size_t width)
    : out_(out), shown_(shown), width_(width > 0 ? width : kDefaultWidth)
{
}

Progress::~Progress()
{
    Clear();
}

void Progress::Show(const std::string &stage, std::size_t count, std::size_t total,
                    const std::string &object)
{
    if (!shown_) {
        return;
    }
    std::string line =
        stage + " [" + std::to_string(count) + "/" + std::to_string(total) + "] " + object;
    // A line longer than the terminal would wrap, and the next one would not overwrite it.
    if (line.size() >= width_) {
        std::size_t cut = width_ - 1;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        line.resize(cut);
    }
    out_ << kClearLine << line << std::flush;
    showing_ = true;
}

void Progress::Clear()
{
    if (showing_) {
        out_ << kClearLine << std::flush;
        showing_ = false;
    }
}
