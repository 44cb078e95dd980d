// A termination client that passes the news on to the clients registered with it, depth first.
#include "mwlib/MW_SIGTERMClientList.h"

#include <cstring>

MW_SIGTERMClientList::MW_SIGTERMClientList(MW_SIGTERMClientList *registry)
    : MW_SIGTERMClient(registry)
{
}

MW_SIGTERMClientList::~MW_SIGTERMClientList()
{
    uint32_t iterator = MW_Cache::NewPass;
    while (MW_SIGTERMClient *client = TakeNext(&iterator)) {
        client->registry = nullptr;
        Deregister(client);
        iterator = MW_Cache::NewPass;
    }
}

int32_t MW_SIGTERMClientList::Register(MW_SIGTERMClient *client)
{
    return clients.Store(sizeof client, &client, 0, nullptr);
}

void MW_SIGTERMClientList::Deregister(MW_SIGTERMClient *client)
{
    clients.Delete(sizeof client, &client); // a key that is gone already is fine
}

MW_SIGTERMClient *MW_SIGTERMClientList::TakeNext(uint32_t *iterator)
{
    CacheEntryResult_T *result = nullptr;
    clients.GetNext(iterator, &result);
    if (!result)
        return nullptr;
    MW_SIGTERMClient *client = nullptr;
    if (result->SKS == sizeof client)
        std::memcpy(&client, result->SearchKey, sizeof client);
    clients.FreeResult(&result);
    return client;
}

void MW_SIGTERMClientList::Inform()
{
    informed = 1;
    SIGTERMInformRegisteredClients();
    M_SIGTERM();
}

void MW_SIGTERMClientList::SIGTERMInformRegisteredClients()
{
    uint32_t iterator = MW_Cache::NewPass;
    do {
        MW_SIGTERMClient *client = TakeNext(&iterator);
        if (!client)
            break;
        // Deregistered before its reaction runs, so a client that destroys itself there does
        // not reach back into this registry.
        client->registry = nullptr;
        client->Inform();
        Deregister(client);
    } while (iterator != MW_Cache::NewPass);
}
