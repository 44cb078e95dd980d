// A list of entries, each a text with a picture, kept in the order they were added. Each entry
// shows its whole text as its tip, for a line wider than the list.
#pragma once

#include "toolkit/Control.h"

class Bitmap;

class ListBox : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::ListBox;
    static constexpr int kNoSelection = -1;

    ListBox(Dialog *dialog, ResId id);

    void InsertEntry(const std::string &text, const Bitmap &bitmap); // at the end
    void InsertEntry(const std::string &text);                       // without a picture
    int GetEntryCount() const;
    std::string GetEntry(int position) const;
    // What assistive tools read for an entry, where its picture says more than its text.
    void SetEntrySpokenText(int position, const std::string &text);
    std::string GetEntrySpokenText(int position) const;

    // The selected entry (the one with the caret), or kNoSelection.
    int GetSelectEntryPos() const;
    void SelectEntryPos(int position);

    // Called when the selected entry changes, by the user or by SelectEntryPos.
    void SetSelectHdl(Link<ListBox> link) { selectHdl_ = std::move(link); }
    // Called when an entry is double-clicked.
    void SetDoubleClickHdl(Link<ListBox> link) { doubleClickHdl_ = std::move(link); }

  private:
    Link<ListBox> selectHdl_;
    Link<ListBox> doubleClickHdl_;
};
