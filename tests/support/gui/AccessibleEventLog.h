// Test fixture: records what the toolkit announces to assistive tools while it lives, and
// helpers to read accessible interfaces.
#pragma once

#include <QAccessible>
#include <string>
#include <vector>

class QWidget;

struct AccessibleEventRecord {
    QAccessible::Event type;
    std::string name; // the name of the interface the event is about
    QAccessible::Role role;
    QAccessible::State changed; // for state changes
};

class AccessibleEventLog
{
  public:
    AccessibleEventLog();  // starts recording
    ~AccessibleEventLog(); // stops
    AccessibleEventLog(const AccessibleEventLog &) = delete;
    AccessibleEventLog &operator=(const AccessibleEventLog &) = delete;

    const std::vector<AccessibleEventRecord> &Events() const;
    // The events of this type, by the name of what they are about, in order.
    std::vector<std::string> NamesOf(QAccessible::Event type) const;
    void Clear();
};

// The interface Qt gives assistive tools for a widget.
QAccessibleInterface *AccessibleOf(QWidget *widget);
std::string AccessibleName(const QAccessibleInterface *iface);
// The names of an interface's children, in order.
std::vector<std::string> ChildNames(const QAccessibleInterface *iface);
