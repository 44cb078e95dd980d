// Identifies a resource (top-level ids from 256) or a control inside a dialog (local ids 1, 2,
// ...).
#pragma once

#include <cstdint>

class ResId
{
  public:
    constexpr explicit ResId(uint16_t id) : id_(id) {}
    constexpr uint16_t Id() const { return id_; }
    constexpr bool operator==(const ResId &) const = default;

  private:
    uint16_t id_;
};
