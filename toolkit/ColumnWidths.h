// The widths of a table's columns. At first each column is as wide as what it holds while they
// all fit; when they do not, the narrow ones keep their widths and the wide ones share what is
// left alike (their texts elided), and they are shared again as the table grows or shrinks.
// Once the user drags a column's edge the widths are the user's: they are no longer fitted,
// and the dialog keeps them for the next time.
#pragma once

#include <memory>
#include <vector>

class QObject;
class QTreeView;

class ColumnWidths
{
  public:
    explicit ColumnWidths(QTreeView *view);
    ~ColumnWidths();
    ColumnWidths(const ColumnWidths &) = delete;
    ColumnWidths &operator=(const ColumnWidths &) = delete;

    // Measures what the columns hold (a screenful of rows or so) and shares the width again.
    void Fit();
    bool SetByUser() const { return setByUser_; }
    // The user's widths, to keep; empty while the widths are fitted.
    std::vector<int> UserWidths() const;
    // Widths the user chose before; ignored when the table has another number of columns.
    void UseWidths(const std::vector<int> &widths);

    // Widths that fit into `room`: a column that needs less than an even share of what is left
    // keeps its width, and the others share the rest evenly.
    static std::vector<int> Shared(std::vector<int> wanted, int room);

  private:
    void Share();
    void Apply(const std::vector<int> &widths);

    QTreeView *view_;
    std::vector<int> wanted_;
    bool applying_ = false;
    bool setByUser_ = false;
    std::unique_ptr<QObject> resizeWatch_;
};
