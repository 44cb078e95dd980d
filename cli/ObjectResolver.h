// Finds an object by its full name the way a user finds it in the window: from the top context
// down, opening each container on the way (through the server, once per container). A name may
// hold dots itself, so every way of splitting a full name into names is tried where needed.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

class ObjectItem;

class ObjectResolver
{
  public:
    struct Found {
        ObjectItem *object = nullptr; // null: not found
        std::string reason;           // why not
        // Not found in a listing the server cut short, or not looked for since a listing on the
        // way failed: the object may exist all the same, so this is no proof that it does not.
        bool uncertain = false;
    };

    // top: the top context, in its forest.
    explicit ObjectResolver(ObjectItem &top);

    Found Resolve(std::string_view fullName);

  private:
    // The object whose name followed by "." and the container's full name is `rest` and that.
    ObjectItem *Find(ObjectItem &container, std::string_view rest);
    bool EnsureOpen(ObjectItem &container);
    static ObjectItem *ChildNamed(ObjectItem &container, std::string_view name);

    ObjectItem &top_;
    // The deepest container reached, and the name looked for there, to say what was missing.
    ObjectItem *deepest_ = nullptr;
    std::size_t deepestLevel_ = 0;
    std::size_t level_ = 0;
    std::string missing_;
    std::string fault_; // why a container on the way could not be opened
    // What the server said of listings it cut short or failed, by container.
    std::unordered_map<const ObjectItem *, std::string> notes_;
};
