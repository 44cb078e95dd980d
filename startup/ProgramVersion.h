// The version of TARVIK, as every program of it says it.
#pragma once

inline constexpr const char *kProgramVersion = "Version 1.0 (Pre-release 2)";
