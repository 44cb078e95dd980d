// What a forest tells those who show it or count in it: which rows changed and how. Rows are
// pre-order indexes at the time of the notice; a view gathers the notices and catches up once.
#pragma once

#include <cstddef>

class ForestObserver
{
  public:
    virtual ~ForestObserver() = default;

    // From row `first` on, `removed` rows went and `inserted` rows came in their place (either
    // may be 0); the rows behind them moved by the difference.
    virtual void RowsReplaced(std::size_t first, std::size_t removed, std::size_t inserted) = 0;
    // The check states or the enabling of rows first to last changed.
    virtual void ChecksChanged(std::size_t first, std::size_t last) = 0;
    // The texts or pictures of rows first to last changed.
    virtual void LooksChanged(std::size_t first, std::size_t last) = 0;
};
