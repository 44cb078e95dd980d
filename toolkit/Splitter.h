// The vertical bar between two panes. The user drags it within its drag rectangle; at the end of
// a drag the split position (the parent's x coordinate) changes and the split handler runs.
#pragma once

#include "toolkit/Link.h"
#include "toolkit/Window.h"

class Splitter : public Window
{
  public:
    Splitter(Window *parent, int style = 0);

    void SetSplitPosition(long position) { position_ = position; }
    long GetSplitPosition() const { return position_; }
    void SetDragRectPixel(const Rectangle &rect) { dragRect_ = rect; }
    const Rectangle &GetDragRectPixel() const { return dragRect_; }
    void SetSplitHdl(Link<Splitter> link) { splitHdl_ = std::move(link); }

    virtual void Split(); // calls the split handler
    // Ends a drag at x in the parent's coordinates, limited to the drag rectangle.
    void DragTo(int x);

    void Paint(const Rectangle &rect) override;

  private:
    long position_ = 0;
    Rectangle dragRect_;
    Link<Splitter> splitHdl_;
};
