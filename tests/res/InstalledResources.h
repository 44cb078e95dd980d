// Test fixture: the program's resource table installed, as at start-up.
#pragma once

#include <gtest/gtest.h>

#include "res/TarvikResources.h"

class InstalledResources : public testing::Test
{
  protected:
    void SetUp() override { InstallTarvikResources(); }
};
