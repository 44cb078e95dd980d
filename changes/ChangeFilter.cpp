// Choosing the rows of a change report.
#include "changes/ChangeFilter.h"

#include <algorithm>

#include "server/AttributeSets.h"

void ChangeFilter::ShowNames(const std::string &pattern)
{
    if (pattern.empty()) {
        names_.reset();
    } else {
        names_.emplace(pattern);
    }
}

bool ChangeFilter::Shows(const ObjectChange &change) const
{
    if (!kinds_.empty() && !kinds_.contains(change.change)) {
        return false;
    }
    if (!attribute_.empty() && std::none_of(change.attributes.begin(), change.attributes.end(),
                                            [this](const std::string &name) {
                                                return AttributeSets::SameName(name, attribute_);
                                            })) {
        return false;
    }
    // A full name begins with the object's own name; a "." inside a name is not a separator
    // the report can tell apart, as in the tree.
    return !names_ || names_->Matches(change.fullName.substr(0, change.fullName.find('.')));
}

std::optional<ChangeKind> ChangeFilter::KindNamed(const std::string &word)
{
    for (ChangeKind kind :
         {ChangeKind::Deleted, ChangeKind::Added, ChangeKind::Modified, ChangeKind::Moved}) {
        if (word == NameOf(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

const char *ChangeFilter::NameOf(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Deleted:
        return "deleted";
    case ChangeKind::Added:
        return "added";
    case ChangeKind::Modified:
        return "modified";
    case ChangeKind::Moved:
        return "moved";
    }
    return "";
}
