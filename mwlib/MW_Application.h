// Base of the program's application object: records name and path, hooks SIGTERM and exit.
#pragma once

#include "mwlib/MW_SIGTERMClientList.h"
#include "mwlib/MW_String.h"
#include "mwlib/MW_TraceObject.h"

#include <cstdint>
#include <cstdio>

// Exactly one exists at a time, created on the heap: at normal process exit the exit hook
// deletes it (M_ATEXIT). Its client-list part is the registry of termination clients.
//
// SIGTERM: the signal handler only records the signal on a pipe and returns; the process goes on
// running. The informing (C_SIGTERM) runs later on the program's own thread, when the owner of
// the event loop sees SIGTERMNotifyFd() readable (for instance through a socket notifier) and
// calls RunPendingSIGTERM(), or when a program without an event loop calls RunPendingSIGTERM()
// at a point of its choosing.
class MW_Application : public MW_TraceObject, public MW_SIGTERMClientList
{
  public:
    // Records the two texts process-wide, sets MySelf and installs the SIGTERM and exit hooks.
    MW_Application(const MW_String &applicationName, const MW_String &programPath,
                   int32_t *traceSwitch = nullptr, std::FILE *traceStream = nullptr);
    ~MW_Application() override;

    // Run before the clients are informed; a non-zero result stops the informing.
    virtual int32_t Before_SIGTERM() { return 0; }
    virtual int32_t After_SIGTERM() { return 0; }
    // The exit hook's reaction: deletes this object.
    virtual void M_ATEXIT();

    void RegisterSIGTERMHandler();
    void RegisterATEXITHandler();
    // These two only trace: the handlers stay installed for the life of the process.
    void DeregisterSIGTERMHandler();
    void DeregisterATEXITHandler();

    // The informing of a termination signal, on MySelf: Before_SIGTERM, every registered
    // client depth first, M_SIGTERM, After_SIGTERM.
    static void C_SIGTERM();
    // The exit hook: MySelf's M_ATEXIT.
    static void C_ATEXIT();

    // Readable while a SIGTERM waits to be handled; -1 when the hook could not be installed.
    static int SIGTERMNotifyFd();
    // Empties the pipe and, when any signal had arrived since the last call, runs C_SIGTERM
    // once for all of them. True when it ran.
    static bool RunPendingSIGTERM();

    // The texts recorded by the constructor (empty before it runs); the profile reader builds
    // the default profile's name from them.
    static const MW_String &ApplicationName();
    static const MW_String &ProgramPath();

    // The one application object; null before it is constructed and after it is destroyed.
    static MW_Application *MySelf;

  private:
    static MW_String &RecordedName();
    static MW_String &RecordedPath();
};
