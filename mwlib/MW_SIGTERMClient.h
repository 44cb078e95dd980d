// An object that wants to hear of process termination registers with a client list.
#pragma once

#include <cstdint>

class MW_SIGTERMClientList;

// The client's address is its key in the registry: construction registers it, destruction
// removes it (nothing happens when it is no longer there). Informing sets the informed flag,
// then runs the reaction M_SIGTERM. Clients are neither copied nor moved, since the registry
// knows them by address.
//
// A client made after its registry has informed its clients would never hear the news: it is
// informed at once instead, and not registered. Its own M_SIGTERM cannot run from here (the
// derived object is not built yet), so a client that must react looks at Informed() once built.
class MW_SIGTERMClient
{
  public:
    explicit MW_SIGTERMClient(MW_SIGTERMClientList *registry = nullptr);
    MW_SIGTERMClient(const MW_SIGTERMClient &) = delete;
    MW_SIGTERMClient &operator=(const MW_SIGTERMClient &) = delete;

    virtual void M_SIGTERM() {}
    virtual ~MW_SIGTERMClient();
    virtual void Inform();

    int32_t Informed() const { return informed; }
    // The list this client is registered with; null once it has been informed by that list
    // (which deregisters it), or when the list went away first.
    MW_SIGTERMClientList *Registry() const { return registry; }

  protected:
    int32_t informed = 0;

  private:
    friend class MW_SIGTERMClientList;
    // The registry's entry for this client, so that leaving needs no lookup (a tree of a million
    // objects registers a million clients). It sits in what would be padding.
    uint32_t entry = 0xFFFFFFFFu;
    MW_SIGTERMClientList *registry;
};
