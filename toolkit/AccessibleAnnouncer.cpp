#include "toolkit/AccessibleAnnouncer.h"

#include <QAccessible>

namespace
{
AccessibleAnnouncer::Listener &CurrentListener()
{
    static AccessibleAnnouncer::Listener listener;
    return listener;
}
} // namespace

void AccessibleAnnouncer::SetListener(Listener listener)
{
    CurrentListener() = std::move(listener);
}

bool AccessibleAnnouncer::IsHeard()
{
    return QAccessible::isActive() || CurrentListener();
}

void AccessibleAnnouncer::Announce(QAccessibleEvent &event)
{
    if (CurrentListener()) {
        CurrentListener()(event);
    }
    QAccessible::updateAccessibility(&event);
}
