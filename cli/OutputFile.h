// The file the results go to, replaced whole or not at all (by the program's shared file
// replacement: a temporary file beside it, renamed over it once everything was written). A run
// that is stopped midway never leaves a half-written file under the name a script reads.
#pragma once

#include <memory>
#include <string>

class OutputFile
{
  public:
    // Checks now that a file can be made beside the name, so that a folder that cannot be
    // written is found before anything is restored; null, with the reason, when it cannot.
    static std::unique_ptr<OutputFile> Create(const std::string &path, std::string &fault);

    // Writes the text and puts the file in place; false, with the reason, when any step failed
    // (the file under the name stays as it was). Termination and interrupt signals wait until
    // it is done, so that a second one, which ends the program at once, leaves no temporary
    // file behind.
    bool Commit(const std::string &text, std::string &fault) const;

  private:
    explicit OutputFile(std::string path) : path_(std::move(path)) {}

    std::string path_;
};
