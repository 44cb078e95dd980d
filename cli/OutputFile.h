// The file the results go to, replaced whole or not at all: the text is written to a temporary
// file beside it, which is renamed over it only when everything was written. A run that is
// stopped midway never leaves a half-written file under the name a script reads.
// ### A shared file replacement is on its way into the program; this one goes then.
#pragma once

#include <memory>
#include <string>

class OutputFile
{
  public:
    // Makes the temporary file now, so that a folder that cannot be written is found before
    // anything is restored; null, with the reason, when it cannot be made.
    static std::unique_ptr<OutputFile> Create(const std::string &path, std::string &fault);
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    ~OutputFile(); // removes the temporary file unless it was committed

    // Writes the text and puts the file in place; false, with the reason, when any step failed
    // (the file under the name stays as it was).
    bool Commit(const std::string &text, std::string &fault);

    const std::string &TemporaryPath() const { return temporary_; }

  private:
    OutputFile(std::string path, std::string temporary, int fd);

    std::string path_;
    std::string temporary_;
    int fd_;
    bool committed_ = false;
};
