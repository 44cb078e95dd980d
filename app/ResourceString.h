// The text of a string resource, so that texts such as the version are defined in one place.
#pragma once

#include <cstdint>
#include <string>

// Empty when the id is not installed.
std::string ResourceString(uint16_t id);
