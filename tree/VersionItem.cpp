#include "tree/VersionItem.h"

#include "model/ObjectItem.h"
#include "toolkit/International.h"

namespace
{
NodeRef RefTo(ObjectItem &owner)
{
    return owner.Node() ? NodeRef(*owner.Node()) : NodeRef();
}
} // namespace

VersionItem::VersionItem(ObjectItem &owner, BackupTime time)
    : DisplayItem("", PlainKind), owner_(&owner), ownerNode_(RefTo(owner)), time_(time)
{
}

// Backup times are unsigned 32-bit seconds since 1970.
std::string VersionItem::Text() const
{
    return FormatDateTime(static_cast<uint32_t>(time_));
}
