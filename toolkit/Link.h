// A handler installed on a control, menu, timer, scroll bar, splitter or panel: called with the
// object that fired, it returns a value (most handlers: non-zero when they handled the event).
#pragma once

#include <functional>

template <typename Sender> using Link = std::function<long(Sender &)>;

template <typename Sender> long CallLink(const Link<Sender> &link, Sender &sender)
{
    return link ? link(sender) : 0;
}
