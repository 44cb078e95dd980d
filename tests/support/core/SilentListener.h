// A loopback port whose connections the kernel accepts and nobody ever answers: a server that
// hangs before it says anything. Closed when the object goes.
#pragma once

#include <string>

class SilentListener
{
  public:
    SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;
    ~SilentListener();

    bool Listening() const { return port_ > 0; }
    std::string Uri() const; // ldap://127.0.0.1:<port>
    // Whether anyone has connected: a connection waits, never accepted, from then on.
    bool Dialled() const;

  private:
    int fd_ = -1;
    int port_ = 0;
};
