// A small resource table for the toolkit's tests, installed for the duration of a test.
#pragma once

#include "toolkit/Resource.h"

inline constexpr uint16_t kTestDialog = 300;
inline constexpr uint16_t kTestMenu = 300;
// A list, a wrapping text, a read-only edit and a push button.
inline constexpr uint16_t kTestListDialog = 301;
// A table above a column of two buttons, OK and one with a long text.
inline constexpr uint16_t kTestTableDialog = 302;

const ResourceTable &ToolkitTestResources();

class InstalledTestResources
{
  public:
    InstalledTestResources() : previous_(Resources::Installed())
    {
        Resources::Install(&ToolkitTestResources());
    }
    ~InstalledTestResources() { Resources::Install(previous_); }

  private:
    const ResourceTable *previous_;
};
