// The small file in which the program remembers how the user left its windows: sizes,
// positions, split positions and column widths, each a list of whole numbers under a key. It is
// read whole; a file that does not read (damaged, cut short, not the shape it should be) counts
// as empty, so a bad file never keeps the program from starting. It is written whole: the new
// text goes to a file beside it, which then takes the name.
#pragma once

#include <map>
#include <string>
#include <vector>

class StateFile
{
  public:
    using Values = std::map<std::string, std::vector<int>>;

    explicit StateFile(std::string path) : path_(std::move(path)) {}

    // $XDG_CONFIG_HOME/tarvik/window-state.json, or ~/.config/tarvik/... when XDG_CONFIG_HOME
    // is not an absolute path; empty when the user has no home folder either.
    static std::string DefaultPath();

    const std::string &Path() const { return path_; }
    // What the file holds now; empty when it is missing or does not read.
    Values Read() const;
    // Writes these keys over what the file holds now (another window of the program may have
    // written meanwhile), keeping the others. Empty when written; otherwise the reason.
    std::string Write(const Values &changed) const;

  private:
    std::string path_;
};
