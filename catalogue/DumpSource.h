// The text of one dump, read front to back in pieces: from a plain file, or decompressed as it is
// read from a gzip, zstd or xz file (chosen by the name's ending).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class DumpSource
{
  public:
    DumpSource() = default;
    DumpSource(const DumpSource &) = delete;
    DumpSource &operator=(const DumpSource &) = delete;
    virtual ~DumpSource() = default;

    // The source for the file; nothing, with the reason in `fault`, when it cannot be opened.
    static std::unique_ptr<DumpSource> Open(const std::string &path, std::string &fault);
    // Whether a file name is a dump's: *.ldif, or *.ldif.gz, *.ldif.zst, *.ldif.xz.
    static bool IsDumpName(const std::string &name);
    // The name without the endings that say it is a dump ("1700000000" of "1700000000.ldif.gz").
    static std::string Stem(const std::string &name);

    // Up to `size` bytes of the text; 0 at its end, or on a fault, which Fault() then says (a
    // compressed file that stops before its end is one).
    virtual std::size_t Read(char *buffer, std::size_t size) = 0;
    // How much of the file has been read, against the file's size: progress.
    virtual uint64_t FileBytesRead() const = 0;
    const std::string &Fault() const { return fault_; }

  protected:
    std::size_t Failed(std::string why)
    {
        fault_ = std::move(why);
        return 0;
    }

  private:
    std::string fault_;
};
