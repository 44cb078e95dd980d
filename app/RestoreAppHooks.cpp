#include "app/RestoreAppHooks.h"

RestoreAppHooks::RestoreAppHooks(const MW_String &applicationName, const MW_String &programPath)
    : MW_Application(applicationName, programPath)
{
}

RestoreAppHooks::~RestoreAppHooks() = default;

void RestoreAppHooks::M_SIGTERM()
{
    MW_Application::M_SIGTERM();
}
