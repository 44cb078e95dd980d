// The program's termination hooks: records "TARVIK" and the program path for the profile
// reader, and offers the registry with which every directory object of the tree registers.
#pragma once

#include "mwlib/MW_Application.h"

class RestoreAppHooks : public MW_Application
{
  public:
    RestoreAppHooks(const MW_String &applicationName, const MW_String &programPath);
    ~RestoreAppHooks() override;

    // A termination signal changes nothing here beyond what the registered clients do.
    void M_SIGTERM() override;
};
