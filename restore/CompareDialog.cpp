#include "restore/CompareDialog.h"

#include "res/ResourceIds.h"
#include "restore/ComparisonTable.h"
#include "toolkit/International.h"
#include "toolkit/Placement.h"

CompareDialog::CompareDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogCompare)), heading_(this, ResId(kCompareHeading)),
      note_(this, ResId(kCompareNote)), table_(this, ResId(kCompareTable)),
      showSame_(this, ResId(kCompareShowSame)), ok_(this, ResId(kOKButton))
{
    FreeResource();
    ComparisonTable::SetColumns(table_);
    table_.SetAccessibleName(kTableName);
    heading_.SetElidedInMiddle();
    showSame_.SetClickHdl([this](Control &box) { return ShowSameHdl(box); });
    SetResizable();
    Follow(heading_, Anchor::Wider());
    Follow(note_, Anchor::Wider());
    Follow(table_, Anchor::Filling());
    Follow(showSame_, Anchor::Below());
    Follow(ok_, Anchor::Corner());
    RememberSize("Compare");
    CenterOver(*this, parent);
}

void CompareDialog::SetComparison(const std::string &name, BackupTime version,
                                  const ObjectDescription &description)
{
    heading_.SetText(Heading(name, version, description));
    compared_ = AttributeComparison::Of(description);
    note_.SetText(Note(description, compared_));
    ComparisonTable::Fill(table_, compared_, showSame_.IsChecked());
}

long CompareDialog::ShowSameHdl(Control &)
{
    ComparisonTable::Fill(table_, compared_, showSame_.IsChecked());
    return 1;
}

// Only a version the user picked is compared at another than the newest.
std::string CompareDialog::Heading(const std::string &name, BackupTime version,
                                   const ObjectDescription &description)
{
    const std::string which =
        version == 0 ? "newest version"
                     : "version of " + FormatDateTime(version) + ", the version you picked";
    std::string state;
    if (!description.inBackup) {
        state = "not in this backup";
    } else if (!description.live) {
        state = "not live";
    } else {
        state = "live";
    }
    return name + ", " + which + " (" + state + ")";
}

std::string CompareDialog::Note(const ObjectDescription &description,
                                const std::vector<ComparedAttribute> &compared)
{
    const std::size_t changes = AttributeComparison::Changes(compared);
    if (changes == 0) {
        return description.inBackup && description.live ? kNothingDiffers : "";
    }
    return changes == 1 ? "1 attribute differs." : std::to_string(changes) + " attributes differ.";
}
