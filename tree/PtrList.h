// An ordered list of untyped pointers with a cursor (the current element). It never owns or
// destroys what it holds.
#pragma once

#include <cstddef>
#include <vector>

class PtrList
{
  public:
    static constexpr std::size_t NoPosition = static_cast<std::size_t>(-1);

    void *Append(void *element);
    void *Prepend(void *element);
    // Inserts before the current element (at the end when there is none) and makes it current.
    void *InsertAtCursor(void *element);
    // Each removes and returns that element, or null when the list is empty.
    void *RemoveLast();
    void *RemoveFirst();
    void Clear();

    std::size_t Count() const { return elements_.size(); }
    // Each moves the cursor and returns the element there, or null.
    void *First();
    void *Next();
    void *Last();
    void *Seek(std::size_t index);
    // The index of the first occurrence, or NoPosition.
    std::size_t PositionOf(const void *element) const;
    void *ElementAt(std::size_t index) const;

  private:
    void *Current() const { return ElementAt(cursor_); }

    std::vector<void *> elements_;
    std::size_t cursor_ = NoPosition;
};
