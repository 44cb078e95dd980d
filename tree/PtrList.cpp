// The untyped pointer list and its cursor.
#include "tree/PtrList.h"

#include <algorithm>

void *PtrList::Append(void *element)
{
    elements_.push_back(element);
    return element;
}

void *PtrList::Prepend(void *element)
{
    elements_.insert(elements_.begin(), element);
    if (cursor_ != NoPosition) {
        ++cursor_;
    }
    return element;
}

void *PtrList::InsertAtCursor(void *element)
{
    if (cursor_ >= elements_.size()) {
        cursor_ = elements_.size();
    }
    elements_.insert(elements_.begin() + static_cast<std::ptrdiff_t>(cursor_), element);
    return element;
}

void *PtrList::RemoveLast()
{
    if (elements_.empty()) {
        return nullptr;
    }
    void *element = elements_.back();
    elements_.pop_back();
    if (cursor_ == elements_.size()) {
        cursor_ = NoPosition;
    }
    return element;
}

void *PtrList::RemoveFirst()
{
    if (elements_.empty()) {
        return nullptr;
    }
    void *element = elements_.front();
    elements_.erase(elements_.begin());
    if (cursor_ != NoPosition) {
        cursor_ = cursor_ == 0 ? NoPosition : cursor_ - 1;
    }
    return element;
}

void PtrList::Clear()
{
    elements_.clear();
    cursor_ = NoPosition;
}

void *PtrList::First()
{
    return Seek(0);
}

void *PtrList::Next()
{
    return cursor_ == NoPosition ? nullptr : Seek(cursor_ + 1);
}

void *PtrList::Last()
{
    return elements_.empty() ? nullptr : Seek(elements_.size() - 1);
}

void *PtrList::Seek(std::size_t index)
{
    cursor_ = index < elements_.size() ? index : NoPosition;
    return Current();
}

std::size_t PtrList::PositionOf(const void *element) const
{
    auto it = std::find(elements_.begin(), elements_.end(), element);
    return it == elements_.end() ? NoPosition : static_cast<std::size_t>(it - elements_.begin());
}

void *PtrList::ElementAt(std::size_t index) const
{
    return index < elements_.size() ? elements_[index] : nullptr;
}
