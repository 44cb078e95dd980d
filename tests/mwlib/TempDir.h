// A scratch directory for profile files, removed with everything in it at the end of a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempDir
{
  public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "mwlib-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            root = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::string Path(const std::string &name) const { return (root / name).string(); }

    // Writes the bytes exactly as given (no line-end translation) and returns the file's path.
    std::string Write(const std::string &name, const std::string &bytes) const
    {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

  private:
    std::filesystem::path root;
};
