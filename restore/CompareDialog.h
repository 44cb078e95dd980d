// "Compare with Live": an object's attributes at one version beside its live ones, attribute by
// attribute, the unchanged ones hidden until the box asks for them. Above them, how many differ,
// or that none does.
#pragma once

#include <string>
#include <vector>

#include "model/AttributeComparison.h"
#include "server/ServerRecords.h"
#include "toolkit/CheckBox.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/TableBox.h"

class CompareDialog : public ModalDialog
{
  public:
    static constexpr const char *kNothingSelected =
        "Select an object in the tree view to compare it with the live one.";
    static constexpr const char *kTableName = "Attributes of the version and of the live object";
    static constexpr const char *kNothingDiffers =
        "No attribute differs between this version and the live object.";

    explicit CompareDialog(Window *parent);

    // The object's version (0: the newest) set against its live entry.
    void SetComparison(const std::string &name, BackupTime version,
                       const ObjectDescription &description);
    // "<name>, newest version (live)" or "<name>, version of <date>, the version you picked
    // (live)"; "not live" or "not in this backup" when so.
    static std::string Heading(const std::string &name, BackupTime version,
                               const ObjectDescription &description);
    // "3 attributes differ.", or kNothingDiffers when the version and the live object both exist
    // and agree; empty when neither exists.
    static std::string Note(const ObjectDescription &description,
                            const std::vector<ComparedAttribute> &compared);

    std::string HeadingText() const { return heading_.GetText(); }
    std::string NoteText() const { return note_.GetText(); }
    TableBox &Table() { return table_; }
    CheckBox &ShowSame() { return showSame_; }

  private:
    long ShowSameHdl(Control &);

    FixedText heading_;
    FixedText note_;
    TableBox table_;
    CheckBox showSame_;
    OKButton ok_;
    std::vector<ComparedAttribute> compared_;
};
