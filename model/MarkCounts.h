// The numbers of objects marked for restore: containers and leaf objects apart.
#pragma once

struct MarkCounts {
    long containers = 0;
    long objects = 0;
    bool operator==(const MarkCounts &) const = default;
};
