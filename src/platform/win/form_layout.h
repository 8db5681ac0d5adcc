#pragma once
// Where a container's controls go, in its flow: the size each control
// wants, the room the container has, and the spacing of the toolkit. Free of
// any window system, so the Win32 forms lay out as the Qt ones do.
#include <functional>
#include <vector>

#include "platform/forms.h"

namespace tovlo {

struct LayoutItem {
    int width = 0;                            // the width it wants
    std::function<int(int width)> heightFor;  // the height it wants at a width
    bool grows = false;                       // takes the height left over in a column
    bool ownWidth = false;                    // keeps its width in a centred column
    bool shown = true;                        // a hidden item takes no room
};

struct LayoutSpacing {
    int left = 0, top = 0, right = 0, bottom = 0;  // inside the container's edges
    int gap = 0;                                   // between two items
};

// The width the items want, laid out in the flow, edges included.
int wantedWidth(Flow flow, const std::vector<LayoutItem>& items, const LayoutSpacing& spacing);
// The height the items need at the width, edges included.
int wantedHeight(Flow flow, int width, const std::vector<LayoutItem>& items, const LayoutSpacing& spacing);
// The rectangle of each item in the area (empty for an item not shown).
std::vector<Rect> layOut(Flow flow, const Rect& area, const std::vector<LayoutItem>& items,
                         const LayoutSpacing& spacing);

}  // namespace tovlo
