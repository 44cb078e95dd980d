// A list of entries, each a text with a picture, kept in the order they were added.
#pragma once

#include "toolkit/Control.h"

class Bitmap;

class ListBox : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::ListBox;
    ListBox(Dialog *dialog, ResId id);

    void InsertEntry(const std::string &text, const Bitmap &bitmap); // at the end
    int GetEntryCount() const;
    std::string GetEntry(int position) const;
    // What assistive tools read for an entry, where its picture says more than its text.
    void SetEntrySpokenText(int position, const std::string &text);
    std::string GetEntrySpokenText(int position) const;
};
