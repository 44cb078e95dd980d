// A termination client that passes the news on to the clients registered with it, depth first.
#include "mwlib/MW_SIGTERMClientList.h"

#include <cstring>

MW_SIGTERMClientList::MW_SIGTERMClientList(MW_SIGTERMClientList *registry)
    : MW_SIGTERMClient(registry), informing(Informed() != 0)
{
    // A list made after its own registry informed its clients passes that on to its clients.
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
    return clients.StoreEntry(sizeof client, &client, 0, nullptr, &client->entry);
}

// The client's address is its key and is unique among the registered clients, so deleting the
// client's own entry is deleting the first entry with that key.
void MW_SIGTERMClientList::Deregister(MW_SIGTERMClient *client)
{
    Forget(client, client->entry);
}

void MW_SIGTERMClientList::Forget(const MW_SIGTERMClient *client, uint32_t entry)
{
    clients.DeleteEntry(entry, sizeof client, &client); // gone already is fine
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
    informing = true;
    uint32_t iterator = MW_Cache::NewPass;
    do {
        MW_SIGTERMClient *client = TakeNext(&iterator);
        if (!client)
            break;
        // Deregistered before its reaction runs, so a client that destroys itself there does
        // not reach back into this registry.
        client->registry = nullptr;
        const uint32_t entry = client->entry; // the client may be gone after its reaction
        client->Inform();
        Forget(client, entry);
    } while (iterator != MW_Cache::NewPass);
}
