// What the Find dialog asks of the window it finds objects for.
#pragma once

#include <optional>
#include <string>

#include "toolkit/Geometry.h"

class ServerClient;
class ServerSession;

class FindDialogHost
{
  public:
    virtual ~FindDialogHost() = default;
    virtual ServerClient *SearchClient() = 0;
    // The worker the search's requests run on.
    virtual ServerSession &Session() = 0;
    // A restore run is under way: a search waits until it has ended.
    virtual bool RestoreUnderWay() const = 0;
    // The context whose subtree is searched: the tree's top context.
    virtual std::string SearchContext() const = 0;
    // Shows the object in the tree, selected, with its history; false when it is not there.
    virtual bool GoToObject(const std::string &fullName) = 0;
    // Where the tree's selected row stands on the screen, so that Find can keep clear of it.
    virtual std::optional<Rectangle> SelectedRowOnScreen() = 0;
    // The server said it cannot search: the Find command goes off.
    virtual void SearchUnsupported() = 0;
};
