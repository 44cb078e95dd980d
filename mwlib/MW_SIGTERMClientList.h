// A termination client that passes the news on to the clients registered with it, depth first.
#pragma once

#include "mwlib/MW_Cache.h"
#include "mwlib/MW_SIGTERMClient.h"

#include <cstdint>

// Each registered client is one entry of an MW_Cache (untraced): its key is the client's address
// (pointer-sized), with no data. Informing the list informs every registered client once, in
// registration order (a client that is itself a list informs its own clients first), removing
// each from the registry, and then runs the list's own M_SIGTERM.
class MW_SIGTERMClientList : public MW_SIGTERMClient
{
  public:
    explicit MW_SIGTERMClientList(MW_SIGTERMClientList *registry = nullptr);
    // Clients still registered are told that their registry is gone, so that their own
    // destruction later does not reach back into it.
    ~MW_SIGTERMClientList() override;

    void Inform() override;
    virtual void SIGTERMInformRegisteredClients();

    uint32_t RegisteredCount() const { return clients.Count(); }
    // Once this list has begun to inform its clients, a new client is informed as it is made.
    bool HasInformedClients() const { return informing; }

  private:
    friend class MW_SIGTERMClient;
    int32_t Register(MW_SIGTERMClient *client);
    void Deregister(MW_SIGTERMClient *client);
    // Removes the client's entry without looking at the client, which may be gone.
    void Forget(const MW_SIGTERMClient *client, uint32_t entry);
    // Takes the first registered client out of the registry, or yields null.
    MW_SIGTERMClient *TakeNext(uint32_t *iterator);

    MW_Cache clients;
    bool informing = false;
};
