// The backup server simulated inside the program: every server opens, every login succeeds, a
// complete listing yields six generated children, histories are fixed dates, restores succeed.
#pragma once

#include "server/ServerBackend.h"

class SimulatedServer : public ServerBackend
{
  public:
    // Seeds rand with the current time; the simulation is the program's only user of rand.
    SimulatedServer();

    int32_t Open(const char *serverName) override;
    int32_t LoginCurrent(const LoginRecord &login) override;
    int32_t Login(const char *userName, const char *password) override;

    void *ListChildren(const ChildRequest &request, int32_t requestSize,
                       int32_t &replySize) override;
    void *GetHistory(const HistoryRequest &request, int32_t requestSize,
                     int32_t &replySize) override;
    void *RestoreObject(const RestoreRequest &request, int32_t requestSize,
                        int32_t &replySize) override;

    // The child cursor is program-wide and shared by all listings of all containers: a listing
    // abandoned before its end leaves it where it stood and the next listing goes on from there.
    // Only tests call this, to start from a fresh program's cursor.
    static void ResetChildCursor();
};
