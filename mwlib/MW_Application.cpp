// Base of the program's application object: records name and path, hooks SIGTERM and exit.
#include "mwlib/MW_Application.h"

#include "mwlib/MW_SIGTERMPipe.h"

#include <cstdlib>

MW_Application *MW_Application::MySelf = nullptr;

MW_String &MW_Application::RecordedName()
{
    static MW_String name;
    return name;
}

MW_String &MW_Application::RecordedPath()
{
    static MW_String path;
    return path;
}

const MW_String &MW_Application::ApplicationName()
{
    return RecordedName();
}

const MW_String &MW_Application::ProgramPath()
{
    return RecordedPath();
}

MW_Application::MW_Application(const MW_String &applicationName, const MW_String &programPath,
                               int32_t *traceSwitch, std::FILE *traceStream)
    : MW_TraceObject(traceSwitch, traceStream), MW_SIGTERMClientList(nullptr)
{
    TraceLine("MW_Application::Application");
    MySelf = this;
    RecordedName() = applicationName;
    RecordedPath() = programPath;
    TraceLine("MW_Application::Application.RegisterSIGTERMHandler");
    RegisterSIGTERMHandler();
    TraceLine("MW_Application::Application.RegisterATEXITHandler");
    RegisterATEXITHandler();
    TraceLine("MW_Application::Application.return");
}

MW_Application::~MW_Application()
{
    TraceLine("MW_Application::~Application");
    TraceLine("MW_Application::~Application.DeregisterATEXITHandler");
    DeregisterATEXITHandler();
    TraceLine("MW_Application::~Application.DeregisterSIGTERMHandler");
    DeregisterSIGTERMHandler();
    TraceLine("MW_Application::~Application.return");
    // The hooks outlive this object: they must find nobody rather than a destroyed object.
    if (MySelf == this)
        MySelf = nullptr;
}

void MW_Application::RegisterSIGTERMHandler()
{
    TraceLine("MW_Application::RegisterSIGTERMHandler");
    TraceLine("MW_Application::RegisterSIGTERMHandler.signal");
    MW_SIGTERMPipe::Install();
    TraceLine("MW_Application::RegisterSIGTERMHandler.return");
}

void MW_Application::RegisterATEXITHandler()
{
    TraceLine("MW_Application::RegisterATEXITHandler");
    TraceLine("MW_Application::RegisterATEXITHandler.atexit");
    // One registration serves every application object the process makes in turn.
    static const bool registered = std::atexit(C_ATEXIT) == 0;
    (void)registered;
    TraceLine("MW_Application::RegisterATEXITHandler.return");
}

void MW_Application::DeregisterSIGTERMHandler()
{
    TraceLine("MW_Application::DeregisterSIGTERMHandler");
    TraceLine("MW_Application::DeregisterSIGTERMHandler.return");
}

void MW_Application::DeregisterATEXITHandler()
{
    TraceLine("MW_Application::DeregisterATEXITHandler");
}

void MW_Application::C_SIGTERM()
{
    MW_Application *self = MySelf;
    if (!self)
        return;
    self->informed = 1;
    self->TraceLine("MW_Application::C_SIGTERM");
    if (self->Before_SIGTERM() != 0) {
        self->TraceLine("MW_Application::C_SIGTERM returned error");
        return;
    }
    self->TraceLine("MW_Application::C_SIGTERM.MySelf->SIGTERMInformRegisteredClients");
    self->SIGTERMInformRegisteredClients();
    self->TraceLine("MW_Application::C_SIGTERM.MySelf->M_SIGTERM");
    self->M_SIGTERM();
    self->TraceLine("MW_Application::C_SIGTERM.MySelf->After_SIGTERM");
    self->After_SIGTERM();
    self->TraceLine("MW_Application::C_SIGTERM.return");
}

void MW_Application::C_ATEXIT()
{
    MW_Application *self = MySelf;
    if (!self)
        return;
    self->TraceLine("MW_Application::C_ATEXIT");
    self->TraceLine("MW_Application::C_ATEXIT.MySelf->M_ATEXIT");
    self->M_ATEXIT();
}

void MW_Application::M_ATEXIT()
{
    TraceLine("MW_Application::M_ATEXIT");
    TraceLine("MW_Application::M_ATEXIT.delete this");
    delete this;
}

int MW_Application::SIGTERMNotifyFd()
{
    return MW_SIGTERMPipe::ReadFd();
}

bool MW_Application::RunPendingSIGTERM()
{
    if (!MW_SIGTERMPipe::Drain() || !MySelf)
        return false;
    C_SIGTERM();
    return true;
}
