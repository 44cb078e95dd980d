// The peer's side of the side-by-side benchmark: a stock QTreeView with uniform row heights over
// the peer's item model, 600 × 800 pixels and shown on the offscreen platform.
#pragma once

#include <QImage>
#include <QTreeView>

#include "bench/peer/PeerModel.h"

class PeerTree
{
  public:
    PeerTree();

    PeerModel &Model() { return model_; }
    QTreeView &View() { return view_; }

    void Render(); // the whole view into a 600 × 800 image
    void Press(int qtKey);

  private:
    PeerModel model_;
    QTreeView view_;
    QImage image_;
};
