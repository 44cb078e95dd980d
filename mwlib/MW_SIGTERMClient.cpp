// An object that wants to hear of process termination registers with a client list.
#include "mwlib/MW_SIGTERMClient.h"

#include "mwlib/MW_SIGTERMClientList.h"

MW_SIGTERMClient::MW_SIGTERMClient(MW_SIGTERMClientList *list) : registry(list)
{
    if (registry && registry->HasInformedClients()) {
        registry = nullptr;
        informed = 1;
        return;
    }
    // A client that cannot be stored (no memory) stays unregistered and is never informed.
    if (registry && registry->Register(this) != MW_OK)
        registry = nullptr;
}

MW_SIGTERMClient::~MW_SIGTERMClient()
{
    if (registry)
        registry->Deregister(this);
}

void MW_SIGTERMClient::Inform()
{
    informed = 1;
    M_SIGTERM();
}
