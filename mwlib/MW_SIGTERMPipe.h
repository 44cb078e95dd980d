// Turns SIGTERM into readable bytes on a pipe, so that nothing but a write runs in the handler.
#pragma once

// The handler only writes one byte to a non-blocking pipe (async-signal-safe); whoever reads the
// pipe reacts later on its own thread. One pipe per process, made by the first Install; a child
// process after fork gets a pipe of its own at its first Install.
class MW_SIGTERMPipe
{
  public:
    // Creates the pipe if needed and installs the handler. False when either cannot be done.
    static bool Install() noexcept;
    // The read end (readable while a signal is pending), or -1 before Install.
    static int ReadFd() noexcept;
    // Empties the pipe; true when at least one signal had arrived since the last call.
    static bool Drain() noexcept;

  private:
    static bool MakePipe() noexcept;
    static void Catch(int signalNumber);
};
