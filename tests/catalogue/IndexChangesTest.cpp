// What the change report asks of the index (the entries that differ between two dumps, every
// entry of a dump below a name, an entry found by its identity), held against the dumps' own
// texts: nights of a small directory where entries are changed, changed back, added, deleted,
// renamed, moved and spelled anew at random.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "catalogue/DistinguishedName.h"
#include "catalogue/Fingerprint.h"
#include "tests/catalogue/CatalogueFolder.h"

namespace
{
using testing::ElementsAre;
using testing::IsEmpty;

std::string Canonical(const std::string &dn)
{
    return DistinguishedName::Parse(dn)->Canonical();
}

// One night's entries as the dump writes them, by canonical name: text and identity.
struct Held {
    std::string text; // from the dn line to the end of the last line
    std::string identity;
};
using Night = std::map<std::string, Held>;

struct Person {
    std::string cn;
    std::string ou;
    int revision = 0;
    unsigned uuid = 0;
    bool upperType = false;
};

std::string UuidText(unsigned number)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08x-0000-4000-8000-%012x", number, number * 7);
    return text;
}

std::string UuidBytes(unsigned number)
{
    std::string bytes;
    const std::string text = UuidText(number);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-') {
            bytes += static_cast<char>(std::stoi(text.substr(i++, 2), nullptr, 16));
        }
    }
    return bytes;
}

// The directory's containers never change; among them one whose name, written out, ends as if it
// were below ou=B though it is not ("x,ou=B" is its own value).
const std::vector<std::string> kContainers = {"o=M", "ou=A,o=M", "ou=B,o=M", "ou=Sub,ou=A,o=M",
                                              "ou=x\\,ou=B,o=M"};
const std::vector<std::string> kPlaces = {"ou=A,o=M", "ou=B,o=M", "ou=Sub,ou=A,o=M",
                                          "ou=x\\,ou=B,o=M"};

class RandomNights
{
  public:
    explicit RandomNights(unsigned seed) : random_(seed)
    {
        for (int i = 0; i < 40; ++i) {
            Add();
        }
    }

    // The next night: its dump's text, and what it holds.
    std::string Next(Night &night)
    {
        if (!first_) {
            Change();
        }
        first_ = false;
        std::string text;
        for (const std::string &dn : kContainers) {
            const std::string entry = "dn: " + dn + "\nobjectClass: organizationalUnit\n";
            night[Canonical(dn)] = Held{entry, {}};
            text += entry + "\n";
        }
        for (const Person &person : people_) {
            const std::string dn = (person.upperType ? "CN=" : "cn=") + person.cn + "," + person.ou;
            const std::string entry = "dn: " + dn + "\nobjectClass: person\ncn: " + person.cn +
                                      "\ndescription: r" + std::to_string(person.revision % 3) +
                                      "\nentryUUID: " + UuidText(person.uuid) + "\n";
            night[Canonical(dn)] = Held{entry, UuidBytes(person.uuid)};
            text += entry + "\n";
        }
        return text;
    }

  private:
    int Percent() { return std::uniform_int_distribution<int>(0, 99)(random_); }
    const std::string &Place() { return kPlaces[random_() % kPlaces.size()]; }

    void Add()
    {
        ++made_;
        people_.push_back(Person{"P" + std::to_string(made_), Place(), 0, made_, false});
    }

    void Change()
    {
        std::vector<Person> kept;
        for (Person person : people_) {
            const int roll = Percent();
            if (roll < 4) {
                continue; // deleted
            }
            if (roll < 20) {
                ++person.revision; // every third change comes back to where it was
            } else if (roll < 24) {
                person.cn += "r"; // renamed
            } else if (roll < 28) {
                person.ou = Place(); // moved (perhaps where it was)
            } else if (roll < 31) {
                person.upperType = !person.upperType; // the same name spelled anew
            }
            kept.push_back(person);
        }
        people_ = kept;
        for (int i = 0; i < 3; ++i) {
            Add();
        }
    }

    std::mt19937 random_;
    std::vector<Person> people_;
    unsigned made_ = 0;
    bool first_ = true;
};

bool IsAtOrBelow(std::string_view canonical, std::string_view under)
{
    while (canonical.size() > under.size()) {
        canonical = DistinguishedName::CanonicalParent(canonical);
    }
    return canonical == under;
}

// What differs between two nights, from their texts: canonical name -> (held before, held after).
std::map<std::string, std::pair<bool, bool>> Differences(const Night &from, const Night &to,
                                                         const std::string &under)
{
    std::map<std::string, std::pair<bool, bool>> differ;
    for (const auto &[name, held] : from) {
        const auto there = to.find(name);
        if (IsAtOrBelow(name, under) && (there == to.end() || there->second.text != held.text)) {
            differ[name] = {true, there != to.end()};
        }
    }
    for (const auto &[name, held] : to) {
        if (IsAtOrBelow(name, under) && from.count(name) == 0) {
            differ[name] = {false, true};
        }
    }
    return differ;
}

const std::vector<std::string> kUnders = {
    "", "o=m", "ou=a,o=m", "ou=b,o=m", "ou=sub,ou=a,o=m", "cn=nobody,o=m"};

// A version as the index gives it is the entry as the night wrote it.
void ExpectVersionOf(CatalogueIndex &index, const HeldVersion &held, const Night &night)
{
    const auto written = night.find(held.entry.canonical);
    ASSERT_NE(written, night.end()) << held.entry.canonical;
    EXPECT_EQ(held.fingerprint, Fingerprint::Of(written->second.text)) << held.entry.canonical;
    EXPECT_EQ(held.identity, written->second.identity) << held.entry.canonical;
    std::string fault;
    const std::optional<LdifEntry> entry = index.Read(held.entry, fault);
    ASSERT_TRUE(entry) << fault;
    EXPECT_EQ(Canonical(entry->dn), held.entry.canonical);
}

void ExpectChanges(CatalogueIndex &index, const std::map<int64_t, Night> &nights)
{
    for (const auto &[from, before] : nights) {
        for (const auto &[to, after] : nights) {
            for (const std::string &under : kUnders) {
                std::map<std::string, std::pair<bool, bool>> found;
                EXPECT_TRUE(index.Changes(from, to, under, [&](const EntryChange &change) {
                    const HeldVersion &some = change.before ? *change.before : *change.after;
                    EXPECT_TRUE(
                        found
                            .emplace(some.entry.canonical, std::make_pair(change.before.has_value(),
                                                                          change.after.has_value()))
                            .second)
                        << "twice: " << some.entry.canonical;
                    if (change.before) {
                        ExpectVersionOf(index, *change.before, before);
                        EXPECT_EQ(change.before->entry.seq, from);
                    }
                    if (change.after) {
                        ExpectVersionOf(index, *change.after, after);
                        EXPECT_EQ(change.after->entry.seq, to);
                    }
                    return true;
                }));
                EXPECT_EQ(found, Differences(before, after, under))
                    << "from " << from << " to " << to << " below '" << under << "'";
            }
        }
    }
}

void ExpectEntriesAndIdentities(CatalogueIndex &index, const std::map<int64_t, Night> &nights)
{
    for (const auto &[seq, night] : nights) {
        for (const std::string &under : kUnders) {
            std::vector<std::string> order;
            EXPECT_TRUE(index.Entries(seq, under, [&](const HeldVersion &held) {
                ExpectVersionOf(index, held, night);
                order.push_back(held.entry.canonical);
                return true;
            }));
            std::set<std::string> expected;
            for (const auto &[name, held] : night) {
                if (IsAtOrBelow(name, under)) {
                    expected.insert(name);
                }
            }
            EXPECT_EQ(std::set<std::string>(order.begin(), order.end()), expected) << under;
            EXPECT_EQ(order.size(), expected.size()) << under;
            for (std::size_t i = 0; i < order.size(); ++i) {
                const std::string parent(DistinguishedName::CanonicalParent(order[i]));
                const auto at = std::find(order.begin(), order.end(), parent);
                EXPECT_TRUE(at == order.end() || at < order.begin() + i) << order[i];
            }
        }
        for (const auto &[name, held] : night) {
            if (held.identity.empty()) {
                continue;
            }
            const std::vector<HeldVersion> found = index.WithIdentity(held.identity, seq);
            ASSERT_EQ(found.size(), 1u) << name;
            EXPECT_EQ(found[0].entry.canonical, name);
        }
    }
}

// Nights by the seq the index gave their dumps.
std::map<int64_t, Night> BySeq(CatalogueIndex &index, const std::map<uint32_t, Night> &byTime)
{
    std::map<int64_t, Night> nights;
    for (const IndexedDump &dump : index.Dumps()) {
        nights[dump.seq] = byTime.at(dump.time);
    }
    return nights;
}

TEST(IndexChanges, AnswerAsTheDumpsTextsDoAlsoAfterDumpsAreRemoved)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CatalogueFolder folder;
        RandomNights nights(seed);
        std::map<uint32_t, Night> byTime;
        for (uint32_t time = 1000; time <= 6000; time += 1000) {
            folder.Write(std::to_string(time) + ".ldif", nights.Next(byTime[time]));
        }
        std::string fault;
        std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
        ASSERT_TRUE(index) << fault;
        ASSERT_EQ(index->Dumps().size(), 6u);
        ExpectChanges(*index, BySeq(*index, byTime));
        ExpectEntriesAndIdentities(*index, BySeq(*index, byTime));

        // A nightly rotation takes the oldest; a dump in between may go too.
        std::filesystem::remove(folder.Dumps() + "/1000.ldif");
        std::filesystem::remove(folder.Dumps() + "/4000.ldif");
        byTime.erase(1000);
        byTime.erase(4000);
        index = folder.Open(fault);
        ASSERT_TRUE(index) << fault;
        ASSERT_EQ(index->Dumps().size(), 4u);
        ExpectChanges(*index, BySeq(*index, byTime));
        ExpectEntriesAndIdentities(*index, BySeq(*index, byTime));
        EXPECT_TRUE(index->TakeFault().empty());
    }
}

// A renamed entry is deleted under its old name and added under its new one; its identity tells
// where it went. An entry whose text is back as it was is not a change.
TEST(IndexChanges, RenamedEntryIsFoundByItsIdentityAndWhatCameBackIsNoChange)
{
    const std::string top = "dn: o=M\nobjectClass: organization\n\n";
    const auto person = [](const std::string &cn, const std::string &what) {
        return "dn: cn=" + cn + ",o=M\nobjectClass: person\ncn: " + cn + "\ndescription: " + what +
               "\nentryUUID: " + UuidText(7) + "\n\n";
    };
    CatalogueFolder folder;
    folder.Write("1000.ldif", top + person("Ann", "same"));
    folder.Write("2000.ldif", top + person("Ann", "other"));
    folder.Write("3000.ldif", top + person("Ann", "same"));
    folder.Write("4000.ldif", top + person("Anna", "same"));
    std::string fault;
    std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
    ASSERT_TRUE(index) << fault;
    const auto seqOf = [&](uint32_t time) {
        return std::find_if(index->Dumps().begin(), index->Dumps().end(),
                            [&](const IndexedDump &dump) { return dump.time == time; })
            ->seq;
    };
    std::vector<std::string> changes;
    const auto collect = [&](const EntryChange &change) {
        changes.push_back((change.before ? change.before->entry.dn : "-") + " > " +
                          (change.after ? change.after->entry.dn : "-"));
        return true;
    };
    EXPECT_TRUE(index->Changes(seqOf(1000), seqOf(3000), "", collect));
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_TRUE(index->Changes(seqOf(3000), seqOf(4000), "", collect));
    EXPECT_THAT(changes, ElementsAre("cn=Ann,o=M > -", "- > cn=Anna,o=M"));
    const std::vector<HeldVersion> went = index->WithIdentity(UuidBytes(7), seqOf(4000));
    ASSERT_EQ(went.size(), 1u);
    EXPECT_EQ(went[0].entry.dn, "cn=Anna,o=M");

    EXPECT_FALSE(index->Changes(seqOf(1000), 99, "", collect));
    EXPECT_THAT(index->TakeFault(), testing::HasSubstr("no snapshot"));
}
} // namespace
