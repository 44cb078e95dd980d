#include "toolkit/SaveFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "toolkit/MessageBox.h"
#include "toolkit/ModalSeam.h"
#include "toolkit/QtText.h"
#include "toolkit/Window.h"

namespace
{

QString &LastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

QString FilterText(const FileFilter &filter)
{
    return ToQt(filter.description + " (*." + filter.suffix + ")");
}

} // namespace

SaveFileDialog::SaveFileDialog(Window *parent, std::string title, std::string offeredName,
                               std::vector<FileFilter> filters)
    : parent_(parent), title_(std::move(title)), offeredName_(std::move(offeredName)),
      filters_(std::move(filters))
{
}

short SaveFileDialog::Execute()
{
    std::string answer = FromQt(QDir(LastFolder()).filePath(ToQt(offeredName_)));
    ModalStep step{ModalKind::SaveFileDialog, title_, answer, parent_, nullptr, 0, &answer};
    const int result = ModalSeam::Execute(step, [this, &answer] {
        const int chosen = RunRealDialog();
        answer = path_;
        return chosen;
    });
    path_ = result == 1 ? answer : std::string();
    if (!path_.empty()) {
        LastFolder() = QFileInfo(ToQt(path_)).absolutePath();
    }
    return static_cast<short>(result == 1 && !path_.empty());
}

// The desktop's dialog asks before it replaces the file it was given; a name typed without a
// suffix gets the chosen type's here, and then this asks itself when that file exists.
int SaveFileDialog::RunRealDialog()
{
    QFileDialog dialog(parent_ ? parent_->FrameWidget() : nullptr, ToQt(title_), LastFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FileFilter &filter : filters_) {
        filters << FilterText(filter);
    }
    dialog.setNameFilters(filters);
    QString chosen;
    QObject::connect(&dialog, &QFileDialog::fileSelected,
                     [&chosen](const QString &file) { chosen = file; });
    dialog.selectFile(ToQt(offeredName_));
    for (;;) {
        chosen.clear();
        if (dialog.exec() != QDialog::Accepted || chosen.isEmpty()) {
            path_.clear();
            return 0;
        }
        const QString named = WithSuffix(chosen, SuffixOf(dialog.selectedNameFilter()));
        if (named == chosen || !QFileInfo::exists(named) || MayReplace(named)) {
            path_ = FromQt(named);
            return 1;
        }
        dialog.selectFile(named);
    }
}

QString SaveFileDialog::SuffixOf(const QString &filterText) const
{
    for (const FileFilter &filter : filters_) {
        if (filterText == FilterText(filter)) {
            return ToQt(filter.suffix);
        }
    }
    return filters_.empty() ? QString() : ToQt(filters_.front().suffix);
}

QString SaveFileDialog::WithSuffix(const QString &path, const QString &suffix)
{
    const bool hasSuffix = QFileInfo(path).fileName().contains(u'.');
    return hasSuffix || suffix.isEmpty() ? path : path + u'.' + suffix;
}

bool SaveFileDialog::MayReplace(const QString &path) const
{
    const std::string text =
        FromQt(QFileInfo(path).fileName()) + " already exists.\nDo you want to replace it?";
    return QueryBox(parent_, WB_YES_NO, text).Execute() == RET_YES;
}
