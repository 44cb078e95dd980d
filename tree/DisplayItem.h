// One row of an outline panel: its text, bitmap, highlight, enabled state, kind and check state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/Bitmap.h"

class TreeNode;

enum CheckState : int32_t {
    Unmarked = 0,
    Marked = 1,      // with the whole subtree
    MarkedAlone = 2, // a container alone
};

class DisplayItem
{
  public:
    static constexpr uint16_t PlainKind = 2;     // a two-state check box
    static constexpr uint16_t ContainerKind = 3; // the box offers the third state

    DisplayItem(std::string text, uint16_t kind);
    DisplayItem(const DisplayItem &) = delete;
    DisplayItem &operator=(const DisplayItem &) = delete;
    virtual ~DisplayItem();

    // The bitmap drawn at the row's left; empty unless a subclass has one.
    virtual const Bitmap &GetBitmap() const;
    virtual std::string Text() const { return text_; }
    virtual void SetCheckState(CheckState state);
    CheckState GetCheckState() const { return static_cast<CheckState>(checkState_); }

    // The text as stored, for comparisons that must not copy it.
    const std::string &StoredText() const { return text_; }
    bool IsHighlighted() const { return highlighted_; }
    void SetHighlighted(bool highlighted) { highlighted_ = highlighted; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    uint16_t Kind() const { return kind_; }
    // Loaded descendants (at any depth, enabled or not) whose check state is not Unmarked. Kept
    // up to date as marks change and rows are inserted and removed, so that asking costs O(1).
    uint32_t MarkedBelow() const { return markedBelow_; }
    // Whether the row opens and closes, and is open: assistive tools tell it with the row.
    virtual bool IsExpandable() const { return false; }
    virtual bool IsExpanded() const { return false; }
    // What the row's picture says beside its text: for assistive tools only what the text and
    // the states do not tell, for the row's tip also the usual case. Empty when nothing.
    virtual std::string Description() const { return {}; }
    virtual std::string ToolTip() const { return {}; }

    // The node that holds this item, set when the item is put into a list.
    TreeNode *Node() const { return node_; }

    // Items alive in the program, so that tests can tell that detached rows are reclaimed.
    static std::size_t LiveCount();

  private:
    friend class TreeNode;
    friend class NodeList;

    // A loaded row costs one of these (and more in a subclass), so it is kept to 56 bytes.
    std::string text_;
    TreeNode *node_ = nullptr;
    bool highlighted_ = false;
    bool enabled_ = true;
    uint8_t kind_;
    uint8_t checkState_ = Unmarked;
    uint32_t markedBelow_ = 0;
};
