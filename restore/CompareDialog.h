// "Compare with Live": an object's attributes at one version beside its live ones, attribute by
// attribute, the unchanged ones hidden until the box asks for them.
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

    explicit CompareDialog(Window *parent);

    // "<name>, version of <date> (live)"; "not live" or "not in this backup" when so.
    static std::string Heading(const std::string &name, BackupTime version,
                               const ObjectDescription &description);

    // heading: which object, which version, and whether it is live.
    void SetComparison(const std::string &heading, std::vector<ComparedAttribute> compared);
    TableBox &Table() { return table_; }
    CheckBox &ShowSame() { return showSame_; }

  private:
    long ShowSameHdl(Control &);

    FixedText heading_;
    TableBox table_;
    CheckBox showSame_;
    OKButton ok_;
    std::vector<ComparedAttribute> compared_;
};
