#include "restore/CompareDialog.h"

#include "res/ResourceIds.h"
#include "restore/ComparisonTable.h"
#include "toolkit/International.h"
#include "toolkit/Placement.h"

CompareDialog::CompareDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogCompare)), heading_(this, ResId(kCompareHeading)),
      table_(this, ResId(kCompareTable)), showSame_(this, ResId(kCompareShowSame)),
      ok_(this, ResId(kOKButton))
{
    FreeResource();
    ComparisonTable::SetColumns(table_);
    table_.SetAccessibleName(kTableName);
    heading_.SetElidedInMiddle();
    showSame_.SetClickHdl([this](Control &box) { return ShowSameHdl(box); });
    SetResizable();
    Follow(heading_, Anchor::Wider());
    Follow(table_, Anchor::Filling());
    Follow(showSame_, Anchor::Below());
    Follow(ok_, Anchor::Corner());
    RememberSize("Compare");
    CenterOver(*this, parent);
}

void CompareDialog::SetComparison(const std::string &heading,
                                  std::vector<ComparedAttribute> compared)
{
    heading_.SetText(heading);
    compared_ = std::move(compared);
    ComparisonTable::Fill(table_, compared_, showSame_.IsChecked());
}

long CompareDialog::ShowSameHdl(Control &)
{
    ComparisonTable::Fill(table_, compared_, showSame_.IsChecked());
    return 1;
}

std::string CompareDialog::Heading(const std::string &name, BackupTime version,
                                   const ObjectDescription &description)
{
    const std::string which =
        version == 0 ? "most recent version" : "version of " + FormatDateTime(version);
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
