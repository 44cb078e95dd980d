// Every announcement the toolkit makes to assistive tools passes through here on its way to Qt,
// which hands it to the accessibility bus while a tool listens. A test can listen as well, since
// Qt drops announcements when no tool is there (as on the offscreen platform).
#pragma once

#include <functional>

class QAccessibleEvent;

class AccessibleAnnouncer
{
  public:
    using Listener = std::function<void(QAccessibleEvent &event)>;

    static void SetListener(Listener listener); // an empty listener stops listening
    // Whether anybody hears announcements: when not, they need not be made.
    static bool IsHeard();
    static void Announce(QAccessibleEvent &event);
};
