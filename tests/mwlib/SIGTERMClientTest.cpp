// Termination clients and client lists: depth-first informing, registration and safe teardown.
#include "mwlib/MW_SIGTERMClient.h"
#include "mwlib/MW_SIGTERMClientList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

class RecordingClient : public MW_SIGTERMClient
{
  public:
    RecordingClient(MW_SIGTERMClientList *registry, std::string name, Log &log)
        : MW_SIGTERMClient(registry), name(std::move(name)), log(log)
    {
    }
    void M_SIGTERM() override { log.push_back(name + (Informed() ? " informed" : " not flagged")); }

  private:
    std::string name;
    Log &log;
};

class RecordingList : public MW_SIGTERMClientList
{
  public:
    RecordingList(MW_SIGTERMClientList *registry, std::string name, Log &log)
        : MW_SIGTERMClientList(registry), name(std::move(name)), log(log)
    {
    }
    void M_SIGTERM() override { log.push_back(name + " (list) informed"); }

  private:
    std::string name;
    Log &log;
};

TEST(SIGTERMClients, ListInformsDepthFirstInRegistrationOrderAndEmptiesEveryRegistry)
{
    Log log;
    RecordingList outer(nullptr, "outer", log);
    RecordingList inner(&outer, "inner", log);
    RecordingClient innerClient(&inner, "innerClient", log);
    RecordingClient other(&outer, "other", log);
    RecordingClient late(&inner, "late", log);
    EXPECT_EQ(outer.RegisteredCount(), 2u);
    EXPECT_EQ(inner.RegisteredCount(), 2u);

    outer.Inform();
    EXPECT_EQ(log, (Log{"innerClient informed", "late informed", "inner (list) informed",
                        "other informed", "outer (list) informed"}));
    EXPECT_EQ(outer.RegisteredCount(), 0u);
    EXPECT_EQ(inner.RegisteredCount(), 0u);
    for (const MW_SIGTERMClient *client :
         {static_cast<MW_SIGTERMClient *>(&outer), static_cast<MW_SIGTERMClient *>(&inner),
          static_cast<MW_SIGTERMClient *>(&innerClient), static_cast<MW_SIGTERMClient *>(&other)})
        EXPECT_EQ(client->Informed(), 1);

    log.clear();
    outer.Inform(); // nothing is registered any more: only the list's own reaction
    EXPECT_EQ(log, (Log{"outer (list) informed"}));
}

// A client made once its registry has informed its clients (a tree re-rooted after the signal)
// would never hear of it: it is informed as it is made, and never registered.
TEST(SIGTERMClients, ClientMadeAfterItsListInformedIsInformedAtOnce)
{
    Log log;
    RecordingList outer(nullptr, "outer", log);
    RecordingClient before(&outer, "before", log);
    RecordingList quiet(nullptr, "quiet", log);
    outer.Inform();
    log.clear();

    RecordingClient after(&outer, "after", log);
    RecordingList lateList(&outer, "lateList", log);
    RecordingClient belowLateList(&lateList, "belowLateList", log);
    RecordingClient ofQuiet(&quiet, "ofQuiet", log);
    EXPECT_EQ(after.Informed(), 1);
    EXPECT_EQ(lateList.Informed(), 1);
    EXPECT_EQ(belowLateList.Informed(), 1);
    EXPECT_EQ(ofQuiet.Informed(), 0); // its list has not been told anything
    EXPECT_EQ(outer.RegisteredCount(), 0u);
    EXPECT_EQ(lateList.RegisteredCount(), 0u);
    EXPECT_EQ(quiet.RegisteredCount(), 1u);
    EXPECT_EQ(after.Registry(), nullptr);
    EXPECT_TRUE(log.empty()); // reactions of unfinished objects are not run

    // A second signal informs the list again; there is nobody left to inform.
    outer.Inform();
    EXPECT_EQ(log, (Log{"outer (list) informed"}));
}

TEST(SIGTERMClients, DestroyedClientLeavesItsRegistry)
{
    Log log;
    RecordingList list(nullptr, "list", log);
    auto gone = std::make_unique<RecordingClient>(&list, "gone", log);
    RecordingClient kept(&list, "kept", log);
    gone.reset();
    EXPECT_EQ(list.RegisteredCount(), 1u);
    list.Inform();
    EXPECT_EQ(log, (Log{"kept informed", "list (list) informed"}));
}

TEST(SIGTERMClients, DestroyingAnInformedClientDoesNotDisturbItsFormerRegistry)
{
    Log log;
    RecordingList list(nullptr, "list", log);
    auto first = std::make_unique<RecordingClient>(&list, "first", log);
    RecordingList nested(&list, "nested", log);
    list.Inform();
    RecordingClient later(&nested, "later", log); // informed at once: nothing registers now
    first.reset();
    EXPECT_EQ(list.RegisteredCount(), 0u);
    EXPECT_EQ(nested.RegisteredCount(), 0u);
    EXPECT_EQ(later.Informed(), 1);
    log.clear();
    list.Inform(); // still a working list, with nobody left to tell
    EXPECT_EQ(log, (Log{"list (list) informed"}));
}

// A list that goes away before its clients leaves them unregistered rather than pointing at it.
TEST(SIGTERMClients, ClientsOutliveTheirList)
{
    Log log;
    auto list = std::make_unique<RecordingList>(nullptr, "list", log);
    RecordingClient client(list.get(), "client", log);
    auto nested = std::make_unique<RecordingList>(list.get(), "nested", log);
    list.reset();
    EXPECT_EQ(client.Registry(), nullptr);
    EXPECT_EQ(nested->Registry(), nullptr);
    nested.reset();
    EXPECT_TRUE(log.empty());
}

class SelfDestroyingClient : public MW_SIGTERMClient
{
  public:
    SelfDestroyingClient(MW_SIGTERMClientList *registry, Log &log)
        : MW_SIGTERMClient(registry), log(log)
    {
    }
    void M_SIGTERM() override
    {
        log.push_back("destroying itself");
        delete this;
    }

  private:
    Log &log;
};

TEST(SIGTERMClients, ClientMayDestroyItselfInItsReaction)
{
    Log log;
    RecordingList list(nullptr, "list", log);
    new SelfDestroyingClient(&list, log);
    RecordingClient after(&list, "after", log);
    list.Inform();
    EXPECT_EQ(log, (Log{"destroying itself", "after informed", "list (list) informed"}));
    EXPECT_EQ(list.RegisteredCount(), 0u);
}

} // namespace
