// The domain controller's backup server against a private Samba controller with its recycle
// bin on: listing an OU of 1,000 children of which 100 are deleted, comparing a deleted user with
// what comes back, previewing a run of all 1,000, and bringing 100 deleted users back one request
// each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "model/AttributeComparison.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "run/PreviewWalk.h"
#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerClient.h"
#include "server/ServerReply.h"
#include "server/directory/DomainServer.h"
#include "tests/support/core/DomainController.h"

namespace
{
constexpr int Children = 1000;
constexpr int DeletedChildren = 100;
constexpr const char *BigDn = "OU=Big,DC=marrowby,DC=test";
constexpr const char *Big = "Big.marrowby.test";

std::string Number(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "U%04d", n);
    return text;
}

std::string UserDn(int n)
{
    return "CN=" + Number(n) + "," + BigDn;
}

struct Setup {
    Setup() : dc(DomainController::Options{true})
    {
        std::string ldif =
            std::string("dn: ") + BigDn + "\nchangetype: add\nobjectClass: organizationalUnit\n\n";
        for (int i = 0; i < Children; ++i) {
            ldif += "dn: " + UserDn(i) +
                    "\nchangetype: add\nobjectClass: user\nsAMAccountName: " + Number(i) +
                    "\nsn: Surname\ndescription: user " + std::to_string(i) + "\n\n";
        }
        ready = dc.Running() && dc.Modify(ldif) && DeleteSome();
    }
    bool DeleteSome()
    {
        std::string ldif;
        for (int i = 0; i < DeletedChildren; ++i) {
            ldif += "dn: " + UserDn(i) + "\nchangetype: delete\n\n";
        }
        return dc.Modify(ldif);
    }
    std::unique_ptr<BackupServer> OpenServer() const
    {
        auto server = std::make_unique<BackupServer>(
            std::make_unique<DomainServer>(dc.Settings("BENCH"), [](const std::string &) {}));
        if (server->Open("BENCH") != 0 || server->Backend().LoginCurrent(LoginRecord{}) != 0) {
            return nullptr;
        }
        return server;
    }

    DomainController dc;
    bool ready = false;
};

Setup &Shared()
{
    static Setup setup;
    return setup;
}

int ListBig(BackupServer &server, int &deleted)
{
    ChildRequest request{};
    CopyToField(request.containerName, Big);
    int children = 0;
    deleted = 0;
    for (;;) {
        ServerReply reply(server, ListChildren, sizeof request, &request);
        const ObjectRecord *record = reply.As<ObjectRecord>();
        if (record == nullptr || record->id == 0) {
            return children;
        }
        ++children;
        deleted += record->state == DeletedState ? 1 : 0;
        request.lastId = record->id;
    }
}

void ListOuOf1000With100Deleted(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().ready ? Shared().OpenServer() : nullptr;
    if (!server) {
        state.SkipWithError("the controller does not serve");
        return;
    }
    int children = 0;
    int deleted = 0;
    for (auto _ : state) {
        children = ListBig(*server, deleted);
    }
    if (children != Children || deleted != DeletedChildren) {
        state.SkipWithError("the listing is not what was made");
    }
    state.counters["children"] = children;
    state.counters["deleted"] = deleted;
}
BENCHMARK(ListOuOf1000With100Deleted)->Unit(benchmark::kMillisecond);

void DescribeADeletedUser(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().ready ? Shared().OpenServer() : nullptr;
    int deleted = 0;
    if (!server || ListBig(*server, deleted) != Children) {
        state.SkipWithError("the controller does not serve");
        return;
    }
    ServerClient client(*server);
    std::size_t attributes = 0;
    for (auto _ : state) {
        const DescribedObject described = client.Describe(Number(0) + "." + Big, 0);
        if (described.end != RequestEnd::Answered || described.description.live) {
            state.SkipWithError("the deleted user is not described");
            return;
        }
        attributes = AttributeComparison::Of(described.description).size();
    }
    state.counters["attributes"] = static_cast<double>(attributes);
}
BENCHMARK(DescribeADeletedUser)->Unit(benchmark::kMillisecond);

// Every child of the OU marked: 100 to add, 900 as they are.
void PreviewOf1000MarkedWith100Deleted(benchmark::State &state)
{
    std::unique_ptr<BackupServer> server = Shared().ready ? Shared().OpenServer() : nullptr;
    if (!server) {
        state.SkipWithError("the controller does not serve");
        return;
    }
    ServerClient client(*server);
    NodeList forest;
    RestoreSelection selection(forest);
    forest.AppendItem(std::make_unique<ObjectItem>("marrowby.test", DisplayItem::ContainerKind,
                                                   &client, nullptr));
    static_cast<ObjectItem *>(forest.ItemAt(0))->Open();
    ObjectItem *big = selection.FindLoaded(Big);
    if (big == nullptr || big->Open() != ObjectItem::OpenResult::Opened) {
        state.SkipWithError("the OU cannot be opened");
        return;
    }
    for (int i = 0; i < Children; ++i) {
        if (ObjectItem *user = selection.FindLoaded(Number(i) + "." + Big)) {
            selection.Mark(*user, Marked);
        }
    }
    PreviewCounts counts;
    for (auto _ : state) {
        counts = RestorePreview::Count(PreviewWalk(selection).Build());
    }
    if (counts.add != DeletedChildren || counts.unchanged != Children - DeletedChildren) {
        state.SkipWithError("the preview is not what was made");
    }
    state.counters["add"] = static_cast<double>(counts.add);
    state.counters["unchanged"] = static_cast<double>(counts.unchanged);
}
BENCHMARK(PreviewOf1000MarkedWith100Deleted)->Unit(benchmark::kMillisecond);

void Reanimate100(benchmark::State &state)
{
    Setup &setup = Shared();
    std::unique_ptr<BackupServer> server = setup.ready ? setup.OpenServer() : nullptr;
    int deleted = 0;
    if (!server || ListBig(*server, deleted) != Children) {
        state.SkipWithError("the controller does not serve");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < DeletedChildren; ++i) {
            RestoreRequest request{};
            CopyToField(request.objectName, Number(i) + "." + Big);
            ServerReply reply(*server, RestoreObject, sizeof request, &request);
            const RestoreReply *restored = reply.As<RestoreReply>();
            if (restored == nullptr || restored->status != 0) {
                state.SkipWithError(restored ? restored->message : "no reply");
                return;
            }
        }
        state.PauseTiming();
        const bool again = setup.DeleteSome();
        state.ResumeTiming();
        if (!again) {
            state.SkipWithError("the users could not be deleted again");
            return;
        }
    }
    state.counters["objects"] = DeletedChildren;
}
BENCHMARK(Reanimate100)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

BENCHMARK_MAIN();
