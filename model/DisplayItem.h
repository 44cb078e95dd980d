// One row of a forest as a view shows it: its text, enabled state, kind and check state. Which
// picture a row shows, and whether it is selected, is the view's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

    virtual std::string Text() const { return text_; }
    // The row's own mark, as it was set.
    CheckState OwnCheckState() const { return static_cast<CheckState>(checkState_); }
    void SetCheckState(CheckState state);
    // The mark as the row is shown, counted and restored: a container marked with its whole
    // subtree covers its loaded descendants, which then read Marked whatever their own mark.
    // (Covering asks the ancestors, O(depth), so marking a container never visits its rows.)
    CheckState GetCheckState() const { return IsCovered() ? Marked : OwnCheckState(); }
    // An ancestor's own mark is Marked.
    bool IsCovered() const;

    // The text as stored, for comparisons that must not copy it.
    const std::string &StoredText() const { return text_; }
    // A covered row is disabled too: its box cannot be clicked and it is no selection of its own.
    bool IsEnabled() const { return enabled_ && !IsCovered(); }
    void SetEnabled(bool enabled);
    uint16_t Kind() const { return kind_; }
    // Loaded descendants (at any depth) whose own check state is not Unmarked. Kept up to date as
    // marks change and rows are inserted and removed, so that asking costs O(1).
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

  protected:
    // The row's text or picture changed: the forest tells those who show it.
    void TellLooksChanged();

  private:
    friend class TreeNode;
    friend class NodeList;

    // A loaded row costs one of these (and more in a subclass), so it is kept to 56 bytes.
    std::string text_;
    TreeNode *node_ = nullptr;
    bool enabled_ = true;
    uint8_t kind_;
    uint8_t checkState_ = Unmarked;
    uint32_t markedBelow_ = 0;
};
