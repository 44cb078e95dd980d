// Rows that a window paints itself, made readable by assistive tools (screen readers, the
// desktop's accessibility bus): the window answers for its rows and announces their changes; the
// toolkit presents the window as a tree whose items are the rows on screen.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/Geometry.h"

class QWidget;
class Window;

namespace toolkit_detail
{
class AccessibleRowsTree;
}

// What an assistive tool reads of one row.
struct RowStates {
    bool checkable = false; // the row has a check box
    int check = 0;          // 0 not checked, 1 checked, 2 the third state
    bool enabled = true;
    bool selected = false;
    bool expandable = false; // a container, open or closed
    bool expanded = false;
};

class AccessibleRows
{
  public:
    AccessibleRows() = default;
    AccessibleRows(const AccessibleRows &) = delete;
    AccessibleRows &operator=(const AccessibleRows &) = delete;
    virtual ~AccessibleRows(); // assistive tools find the rows gone from then on

    // The answers. Rows are numbered from 0 in the order they are drawn; each answer about one
    // row must be cheap, since a tool may ask for every row on screen after each change.
    virtual std::string AccessibleTitle() const = 0;
    virtual int32_t AccessibleRowCount() const = 0;
    virtual int32_t AccessibleTopRow() const = 0;     // the first row on screen
    virtual int32_t AccessibleShownCount() const = 0; // rows on screen, partly shown ones too
    virtual int32_t AccessibleCaretRow() const = 0;   // the row the keyboard is on
    virtual bool AccessibleHasFocus() const = 0;      // the rows hold the keyboard focus
    virtual std::string AccessibleRowText(int32_t row) const = 0;
    // What a tool reads after the row's text and states (for example that the object it shows
    // is deleted); empty when there is nothing more to say.
    virtual std::string AccessibleRowDescription(int32_t) const { return {}; }
    virtual RowStates AccessibleRowStates(int32_t row) const = 0;
    virtual Rectangle AccessibleRowRect(int32_t row) const = 0; // in the window's pixels

    // What a tool may ask for: the effect of a click on the row, or on its check box.
    virtual void AccessibleSelect(int32_t row) = 0;
    virtual void AccessibleToggle(int32_t row) = 0;

    // Presents the rows on this window (once, before the window is shown).
    void PresentOn(Window &window);

    // Announcements to the tools that listen.
    void AnnounceTitle();
    void AnnounceSelection(int32_t oldRow, int32_t newRow);
    void AnnounceCaret(); // the keyboard moved to another row
    void AnnounceFocus(); // the rows gained the focus: told once the toolkit has told its own
    void AnnounceChecks(int32_t firstRow, int32_t lastRow); // check states and enabling
    void AnnounceRows(int32_t fromRow); // rows from here on were inserted, removed or changed
    void AnnounceScrolled();            // other rows are on screen

    // Internal to the toolkit.
    void SetTree(toolkit_detail::AccessibleRowsTree *tree) { tree_ = tree; }

  private:
    toolkit_detail::AccessibleRowsTree *Tree() const;

    QWidget *widget_ = nullptr;
    toolkit_detail::AccessibleRowsTree *tree_ = nullptr;
};
