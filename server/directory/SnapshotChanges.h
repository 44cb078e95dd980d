// What changed between two snapshots of a catalogue, from its index alone (the live directory is
// never asked): the index gives the entries whose versions differ between the two (by their
// fingerprints, at a cost that grows with the changes); then a stretch of them at a time is
// looked at, and only an entry held by both in versions of other text is read, to name the user
// attributes that differ. An entry only the earlier snapshot holds and one only the
// later holds that share an identity (entryUUID, objectGUID) are one object, moved or renamed;
// those left unpaired once every stretch is looked at are deleted and added. Memory grows with
// the changes, not with the directory.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/ChangeSource.h"
#include "server/directory/ChangeContext.h"
#include "server/directory/SnapshotCatalogue.h"

class SnapshotChanges : public ChangeSource
{
  public:
    // Changed entries looked at per part: reading their texts is what takes the time.
    static constexpr std::size_t kStretch = 200;

    // earlier and later: the snapshots' seq numbers. The catalogue must outlive the source.
    SnapshotChanges(const SnapshotCatalogue &catalogue, ChangeContext context, int64_t earlier,
                    int64_t later);

    bool Next(std::vector<ObjectChange> &found, std::string &fault) override;
    bool Done() const override { return done_; }
    uint32_t Examined() const override;
    uint32_t Total() const override;

  private:
    void Take(const EntryChange &entry, std::vector<ObjectChange> &found, std::string &fault);
    void Modified(const HeldVersion &earlier, const HeldVersion &later,
                  std::vector<ObjectChange> &found, std::string &fault);
    void Moved(const HeldVersion &earlier, const HeldVersion &later,
               std::vector<ObjectChange> &found, std::string &fault);
    // The user attributes that differ; false, with the reason, when an entry cannot be read.
    bool Differing(const HeldVersion &earlier, const HeldVersion &later,
                   std::vector<std::string> &names, std::string &fault) const;
    bool IsContainer(const HeldVersion &version) const;
    // The unpaired ones, once every stretch is looked at.
    void Finish(std::vector<ObjectChange> &found);

    const SnapshotCatalogue &catalogue_;
    ChangeContext context_;
    const int64_t earlier_;
    const int64_t later_;
    std::vector<EntryChange> differing_; // as the index gave them
    std::size_t next_ = 0;
    bool scanned_ = false;
    bool done_ = false;
    // Held by one snapshot only, not paired yet, by identity.
    std::unordered_map<std::string, HeldVersion> gone_;
    std::unordered_map<std::string, HeldVersion> came_;
    std::vector<HeldVersion> goneUnknown_; // without an identity: never paired
    std::vector<HeldVersion> cameUnknown_;
};
