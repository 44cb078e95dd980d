// What every message of the command line on standard error begins with.
#pragma once

inline constexpr const char *kProgram = "tarvik-restore: ";
