// The temporary folder of a test server: made when the server is, removed with everything in
// it when the server goes. It holds the server's files and a catalogue of snapshots.
#pragma once

#include <string>

class ServerFolder
{
  public:
    // A new folder below the temporary directory, named <prefix>-XXXXXX, with an empty
    // catalogue folder; Folder() is empty when it could not be made.
    explicit ServerFolder(const std::string &prefix);
    ServerFolder(const ServerFolder &) = delete;
    ServerFolder &operator=(const ServerFolder &) = delete;
    ~ServerFolder();

    const std::string &Folder() const { return folder_; }
    // A folder for snapshots, empty at the start.
    std::string Catalogue() const { return folder_ + "/catalogue"; }

    // Writes a file below the folder (created with mode 0600) and returns its path.
    std::string WriteFile(const std::string &name, const std::string &contents) const;
    // A snapshot in the catalogue named <time>.ldif.
    std::string WriteSnapshot(unsigned time, const std::string &ldif) const;

  private:
    std::string folder_;
};
