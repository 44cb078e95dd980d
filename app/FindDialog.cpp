// The Find dialog: a search run in batches, its results in a sortable table.
#include "app/FindDialog.h"

#include "app/FindDialogHost.h"
#include "model/FullNameSyntax.h"
#include "res/ResourceIds.h"
#include "server/SearchRun.h"
#include "tree/ObjectPictures.h"
#include "tree/ServerTasks.h"

namespace
{
// The object's own name as the tree's row shows it; the full name keeps its escapes, so that the
// command line takes it as it stands.
std::string OwnName(const std::string &fullName)
{
    return FullNameSyntax::Unescaped(FullNameSyntax::OwnLevel(fullName));
}
} // namespace

FindDialog::FindDialog(Window *parent, FindDialogHost &host)
    : ModelessDialog(parent, ResId(kDialogFind)), host_(host),
      patternLabel_(this, ResId(kFindPatternLabel)), pattern_(this, ResId(kFindPattern)),
      find_(this, ResId(kFindButton)), deletedOnly_(this, ResId(kFindDeletedOnly)),
      stop_(this, ResId(kFindStop)), resultsLabel_(this, ResId(kFindResultsLabel)),
      status_(this, ResId(kFindStatus)), results_(this, ResId(kFindResults)),
      close_(this, ResId(kFindClose))
{
    FreeResource();
    results_.SetColumns({"Name", "Full name", "Kind", "State"});
    results_.ElideInMiddle(FullNameColumn);
    SetResizable();
    Follow(pattern_, Anchor::Wider());
    Follow(find_, Anchor::Right());
    Follow(stop_, Anchor::Right());
    Follow(status_, Anchor::Wider());
    Follow(results_, Anchor::Filling());
    Follow(close_, Anchor::Corner());
    RememberSize("Find");
    find_.SetDefault(true);
    stop_.Disable();
    find_.SetClickHdl([this](Control &) {
        StartSearch();
        return 1L;
    });
    stop_.SetClickHdl([this](Control &) {
        StopSearch();
        return 1L;
    });
    close_.SetClickHdl([this](Control &) {
        StopSearch();
        Hide();
        return 1L;
    });
    results_.SetActivateHdl([this](ResultTable &table) {
        GoToRow(table.SelectedRow());
        return 1L;
    });
}

FindDialog::~FindDialog() = default;

void FindDialog::Present()
{
    ModelessDialog::Present();
    // Return in the pattern searches, whichever button the dialog was left with.
    find_.SetDefault(true);
    pattern_.GrabFocus();
}

void FindDialog::StartSearch()
{
    ServerClient *client = host_.SearchClient();
    const std::string pattern = pattern_.GetText();
    if (client == nullptr || IsSearching()) {
        return;
    }
    if (pattern.empty()) {
        status_.SetText("Type a name, or a part of one, to find.");
        pattern_.GrabFocus();
        return;
    }
    results_.Clear();
    found_.clear();
    searched_ = pattern;
    stopAsked_ = false;
    run_ = client->StartSearch(host_.SearchContext(), pattern, deletedOnly_.IsChecked());
    find_.Disable();
    stop_.Enable();
    status_.SetText("Searching...");
    nextBatch_.Post();
}

void FindDialog::StopSearch()
{
    if (IsSearching()) {
        stopAsked_ = true;
        host_.Tasks().Stop(); // the batch under way is given up, and what it found dropped
        nextBatch_.Post();    // ends it at the next pass
    }
}

void FindDialog::NextBatch()
{
    if (!run_) {
        return;
    }
    if (stopAsked_) {
        Finish(RequestEnd::Stopped, {});
        return;
    }
    // The batch is asked for on the server worker; between batches the window is free, so the
    // user can go on with the tree while a long search runs.
    SearchRun *run = run_.get();
    std::optional<std::vector<FoundObject>> batch = host_.Tasks().Run<std::vector<FoundObject>>(
        "Searching for \"" + searched_ + "\"", [run](ServerClient &, WorkerJob &job) {
            std::vector<FoundObject> found;
            run->Next(
                kBatch, [&found](FoundObject &&match) { found.push_back(std::move(match)); },
                job.StopCheck());
            return found;
        });
    if (!batch) {
        Finish(RequestEnd::Stopped, {});
        return;
    }
    Show(*batch);
    if (run_->Ended()) {
        Finish(run_->End(), std::string(run_->Failure())); // a copy: Finish lets the run go
        return;
    }
    status_.SetText("Searching... " + CountText());
    nextBatch_.Post();
}

void FindDialog::Show(const std::vector<FoundObject> &batch)
{
    std::vector<ResultTable::Row> rows;
    rows.reserve(batch.size());
    for (const FoundObject &found : batch) {
        rows.push_back(ResultTable::Row{{OwnName(found.fullName), found.fullName,
                                         found.container ? "Container" : "Leaf object",
                                         found.present ? "Present" : "Deleted"},
                                        &ObjectPictures::OfFound(found.container, found.present),
                                        KindColumn,
                                        static_cast<int>(found_.size())});
        found_.push_back(found);
    }
    const bool first = results_.RowCount() == 0;
    results_.AddRows(rows);
    if (first && !rows.empty()) {
        results_.FitColumns(); // a screenful is in: the columns take its widths
    }
}

std::string FindDialog::CountText() const
{
    return std::to_string(found_.size()) +
           (found_.size() == 1 ? " object found." : " objects found.");
}

void FindDialog::Finish(RequestEnd end, std::string failure)
{
    run_.reset();
    find_.Enable();
    stop_.Disable();
    switch (end) {
    case RequestEnd::Answered:
        status_.SetText(found_.empty() ? "No object matches \"" + searched_ + "\"." : CountText());
        break;
    case RequestEnd::Stopped:
        status_.SetText("Stopped: " + CountText());
        break;
    case RequestEnd::NotOffered:
        status_.SetText(kCannotSearch);
        find_.Disable();
        host_.SearchUnsupported();
        break;
    case RequestEnd::NameTooLong:
    case RequestEnd::NoReply:
    case RequestEnd::Failed:
        status_.SetText("The search failed: " + failure +
                        (found_.empty() ? std::string() : " (" + CountText() + ")"));
        break;
    }
    if (!found_.empty()) {
        results_.FitColumns();
        results_.SelectRow(0);
    }
}

void FindDialog::GoToRow(int row)
{
    const int key = results_.KeyAt(row);
    if (key < 0 || static_cast<std::size_t>(key) >= found_.size()) {
        return;
    }
    const std::string &fullName = found_[static_cast<std::size_t>(key)].fullName;
    if (!host_.GoToObject(fullName)) {
        status_.SetText(fullName + " is not in the tree view.");
    }
}
