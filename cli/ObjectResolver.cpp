// Resolving full names down from the top context.
#include "cli/ObjectResolver.h"

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "server/ServerClient.h"

ObjectResolver::ObjectResolver(ObjectItem &top) : top_(top) {}

ObjectResolver::Found ObjectResolver::Resolve(std::string_view fullName)
{
    const std::string &context = top_.StoredText();
    if (fullName == context) {
        return {&top_, {}};
    }
    const bool below = fullName.size() > context.size() + 1 && fullName.ends_with(context) &&
                       fullName[fullName.size() - context.size() - 1] == '.';
    if (!below) {
        return {nullptr, "not below the top context " + context};
    }
    deepest_ = nullptr;
    deepestLevel_ = 0;
    level_ = 0;
    missing_.clear();
    fault_.clear();
    if (ObjectItem *found = Find(top_, fullName.substr(0, fullName.size() - context.size() - 1))) {
        return {found, {}};
    }
    if (!fault_.empty()) {
        return {nullptr, fault_, true}; // not looked for: no proof that it does not exist
    }
    std::string reason = "no object " + missing_ + " in " + deepest_->FullName();
    const auto note = notes_.find(deepest_);
    if (note == notes_.end()) {
        return {nullptr, reason};
    }
    return {nullptr, reason + ", whose listing is not whole: " + note->second, true};
}

// The last name of `rest` is tried first, then the last two joined by ".", and so on: each is a
// child of the container, to be looked up by name, and what is left before it lies below that
// child.
ObjectItem *ObjectResolver::Find(ObjectItem &container, std::string_view rest)
{
    if (!EnsureOpen(container)) {
        return nullptr;
    }
    ++level_;
    ObjectItem *found = nullptr;
    for (std::size_t end = rest.size(); found == nullptr && fault_.empty();) {
        std::size_t dot = rest.rfind('.', end - 1);
        if (dot == 0) {
            dot = std::string_view::npos; // nothing would be left for the names below
        }
        const bool whole = dot == std::string_view::npos;
        const std::string_view name = whole ? rest : rest.substr(dot + 1);
        if (ObjectItem *child = ChildNamed(container, name)) {
            if (whole) {
                found = child;
            } else if (child->IsContainer()) {
                found = Find(*child, rest.substr(0, dot));
            }
        } else if (deepest_ == nullptr || level_ > deepestLevel_) {
            deepest_ = &container;
            deepestLevel_ = level_;
            missing_ = std::string(name);
        }
        if (whole) {
            break;
        }
        end = dot;
    }
    --level_;
    return found;
}

bool ObjectResolver::EnsureOpen(ObjectItem &container)
{
    if (container.IsOpen()) {
        return true;
    }
    std::string failure;
    std::string note;
    switch (container.Open(failure, note)) {
    case ObjectItem::OpenResult::Opened:
        break;
    case ObjectItem::OpenResult::NameTooLong:
        fault_ = ServerClient::NameTooLongMessage(container.FullName());
        return false;
    case ObjectItem::OpenResult::Failed:
        fault_ = "the listing of " + container.FullName() + " failed: " + failure;
        return false;
    case ObjectItem::OpenResult::Informed:
        fault_ = ObjectItem::kNotRestoredEnding;
        return false;
    }
    if (!note.empty()) {
        notes_[&container] = note;
    }
    return container.IsOpen();
}

// Children are kept in byte order of their names, so a binary search finds the first of a name.
ObjectItem *ObjectResolver::ChildNamed(ObjectItem &container, std::string_view name)
{
    const NodeList &children = container.Node()->Children();
    std::size_t low = 0;
    std::size_t high = children.Count();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (std::string_view(children.ElementAt(middle)->Item()->StoredText()) < name) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low < children.Count() && children.ElementAt(low)->Item()->StoredText() == name) {
        return static_cast<ObjectItem *>(children.ElementAt(low)->Item());
    }
    return nullptr;
}
