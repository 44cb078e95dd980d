#include "tests/support/gui/AccessibleEventLog.h"

#include <QWidget>

#include "toolkit/AccessibleAnnouncer.h"

namespace
{

std::vector<AccessibleEventRecord> recorded;

void Record(QAccessibleEvent &event)
{
    AccessibleEventRecord record{event.type(), {}, QAccessible::NoRole, {}};
    if (QAccessibleInterface *iface = event.accessibleInterface()) {
        record.name = AccessibleName(iface);
        record.role = iface->role();
    }
    if (event.type() == QAccessible::StateChanged) {
        record.changed = static_cast<QAccessibleStateChangeEvent &>(event).changedStates();
    }
    recorded.push_back(record);
}

} // namespace

AccessibleEventLog::AccessibleEventLog()
{
    recorded.clear();
    AccessibleAnnouncer::SetListener(Record);
}

AccessibleEventLog::~AccessibleEventLog()
{
    AccessibleAnnouncer::SetListener({});
    recorded.clear();
}

const std::vector<AccessibleEventRecord> &AccessibleEventLog::Events() const
{
    return recorded;
}

std::vector<std::string> AccessibleEventLog::NamesOf(QAccessible::Event type) const
{
    std::vector<std::string> names;
    for (const AccessibleEventRecord &event : recorded) {
        if (event.type == type) {
            names.push_back(event.name);
        }
    }
    return names;
}

void AccessibleEventLog::Clear()
{
    recorded.clear();
}

QAccessibleInterface *AccessibleOf(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

std::string AccessibleName(const QAccessibleInterface *iface)
{
    return iface ? iface->text(QAccessible::Name).toStdString() : std::string("<none>");
}

std::vector<std::string> ChildNames(const QAccessibleInterface *iface)
{
    std::vector<std::string> names;
    for (int i = 0; iface && i < iface->childCount(); ++i) {
        names.push_back(AccessibleName(iface->child(i)));
    }
    return names;
}
