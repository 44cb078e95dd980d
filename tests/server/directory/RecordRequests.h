// Helpers that speak the request records the tree sends to a backup server: list a container,
// ask for a history, restore an object; and the lines the server logged.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "server/BackupServer.h"
#include "server/LdapSettings.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"

struct Listed {
    std::string name;
    bool container;
    bool present;
    bool operator==(const Listed &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const Listed &listed)
{
    return out << listed.name << (listed.container ? " (container" : " (leaf")
               << (listed.present ? ", present)" : ", deleted)");
}

struct Restored {
    int32_t status;
    std::string message;
};

class RecordRequests
{
  public:
    // Opens a backend of that kind with these settings into `server`; its messages go to `log`.
    template <class Backend> int32_t OpenServer(const LdapSettings &settings, Backend *&backend)
    {
        auto made = std::make_unique<Backend>(
            settings, [this](const std::string &line) { log.push_back(line); });
        backend = made.get();
        server = std::make_unique<BackupServer>(std::move(made));
        return server->Open(settings.serverName.c_str());
    }

    std::vector<Listed> List(const std::string &container)
    {
        ChildRequest request{};
        EXPECT_TRUE(CopyToField(request.containerName, container));
        std::vector<Listed> children;
        for (int32_t expectedId = 1;; ++expectedId) {
            ServerReply reply(*server, ListChildren, sizeof request, &request);
            const ObjectRecord *record = reply.As<ObjectRecord>();
            if (record == nullptr || record->id == 0) {
                return children;
            }
            EXPECT_EQ(record->id, expectedId);
            children.push_back(Listed{FieldText(record->name), record->kind != LeafObjectKind,
                                      record->state != DeletedState});
            request.lastId = record->id;
        }
    }

    std::vector<BackupTime> History(const std::string &object)
    {
        HistoryRequest request{};
        EXPECT_TRUE(CopyToField(request.objectName, object));
        ServerReply reply(*server, GetHistory, sizeof request, &request);
        const HistoryReply *history = reply.As<HistoryReply>();
        std::vector<BackupTime> times;
        for (int32_t i = 0; history != nullptr && i < history->count; ++i) {
            times.push_back(HistoryTime(*history, static_cast<std::size_t>(i)));
        }
        std::sort(times.begin(), times.end());
        return times;
    }

    Restored Restore(const std::string &object, BackupTime version = 0, bool subtree = false)
    {
        RestoreRequest request{};
        EXPECT_TRUE(CopyToField(request.objectName, object));
        request.version = version;
        request.flags = subtree ? RestoreWithSubtree : 0;
        ServerReply reply(*server, RestoreObject, sizeof request, &request);
        const RestoreReply *restored = reply.As<RestoreReply>();
        return restored ? Restored{restored->status, FieldText(restored->message)}
                        : Restored{-999, "no reply"};
    }

    std::string Log() const
    {
        std::string text;
        for (const std::string &line : log) {
            text += line + "\n";
        }
        return text;
    }

    std::vector<std::string> log;
    std::unique_ptr<BackupServer> server;
};
