// The status bar's field of the objects marked for restore, "Containers: n, Objects: m". It
// watches the object forest and counts again once per pass of the event loop after a change.
#pragma once

#include <cstdint>
#include <string>

#include "model/ForestObserver.h"
#include "toolkit/PostedCall.h"

class NodeList;
class RestoreSelection;
class StatusBar;

class CountsField : private ForestObserver
{
  public:
    // The forest, the selection and the bar must outlive the field.
    CountsField(NodeList &forest, const RestoreSelection &selection, StatusBar &bar,
                uint16_t field);
    ~CountsField() override;
    CountsField(const CountsField &) = delete;
    CountsField &operator=(const CountsField &) = delete;

    void Update(); // now
    static std::string Text(long containers, long objects);

  private:
    void RowsReplaced(std::size_t, std::size_t, std::size_t) override { recount_.Post(); }
    void ChecksChanged(std::size_t, std::size_t) override { recount_.Post(); }
    void LooksChanged(std::size_t, std::size_t) override {}

    NodeList &forest_;
    const RestoreSelection &selection_;
    StatusBar &bar_;
    uint16_t field_;
    PostedCall recount_{[this] { Update(); }};
};
