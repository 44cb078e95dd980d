// Asks where to save a file: the desktop's file dialog, opening in the folder used last (the
// home folder at first) with a name offered, its type chosen from a list of filters (a name
// typed without a suffix gets the type's), and asking before it replaces a file. Runs through
// the modal seam like every modal step.
#pragma once

#include <string>
#include <vector>

class QString;
class Window;

struct FileFilter {
    std::string description; // "CSV files"
    std::string suffix;      // "csv": added to a name typed without one
};

class SaveFileDialog
{
  public:
    SaveFileDialog(Window *parent, std::string title, std::string offeredName,
                   std::vector<FileFilter> filters);

    // 1 when a file was chosen, 0 when the dialog was cancelled.
    short Execute();
    const std::string &GetPath() const { return path_; }

  private:
    int RunRealDialog();
    QString SuffixOf(const QString &filterText) const;
    static QString WithSuffix(const QString &path, const QString &suffix);
    bool MayReplace(const QString &path) const;

    Window *parent_;
    std::string title_;
    std::string offeredName_;
    std::vector<FileFilter> filters_;
    std::string path_;
};
