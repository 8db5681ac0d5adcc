#include "form_layout.h"

#include <algorithm>

namespace tovlo {

namespace {

bool across(Flow flow) { return flow == Flow::Row || flow == Flow::Buttons; }

// In a column every item is as wide as the container; in a centred one an
// item that keeps its own width is no wider than the container.
int widthInColumn(Flow flow, const LayoutItem& item, int inner) {
    return flow == Flow::Centred && item.ownWidth ? std::min(item.width, inner) : inner;
}

// The two columns of a grid of pairs: the captions' width, and the rest.
struct PairColumns {
    int caption = 0, value = 0;
};
PairColumns pairColumns(const std::vector<LayoutItem>& items) {
    PairColumns c;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].shown) (i % 2 ? c.value : c.caption) = std::max(i % 2 ? c.value : c.caption, items[i].width);
    return c;
}

// The height of each line of a grid of pairs at the columns' widths.
std::vector<int> pairLines(const std::vector<LayoutItem>& items, int captionWidth, int valueWidth) {
    std::vector<int> lines((items.size() + 1) / 2, 0);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].shown)
            lines[i / 2] = std::max(lines[i / 2], items[i].heightFor(i % 2 ? valueWidth : captionWidth));
    return lines;
}

int sumWithGaps(const std::vector<int>& sizes, int gap) {
    int total = 0, n = 0;
    for (int s : sizes) total += s + (n++ ? gap : 0);
    return total;
}

}  // namespace

int wantedWidth(Flow flow, const std::vector<LayoutItem>& items, const LayoutSpacing& spacing) {
    int inner = 0;
    if (flow == Flow::Pairs) {
        const PairColumns c = pairColumns(items);
        inner = c.caption + (c.value ? spacing.gap + c.value : 0);
    } else {
        std::vector<int> widths;
        for (const LayoutItem& item : items)
            if (item.shown) widths.push_back(item.width);
        inner = across(flow) ? sumWithGaps(widths, spacing.gap)
                             : (widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end()));
    }
    return inner + spacing.left + spacing.right;
}

int wantedHeight(Flow flow, int width, const std::vector<LayoutItem>& items, const LayoutSpacing& spacing) {
    const int inner = std::max(0, width - spacing.left - spacing.right);
    std::vector<int> heights;
    if (flow == Flow::Pairs) {
        const PairColumns c = pairColumns(items);
        heights = pairLines(items, c.caption, std::max(0, inner - c.caption - spacing.gap));
    } else {
        for (const LayoutItem& item : items)
            if (item.shown)
                heights.push_back(item.heightFor(across(flow) ? item.width : widthInColumn(flow, item, inner)));
    }
    const int content = across(flow) ? (heights.empty() ? 0 : *std::max_element(heights.begin(), heights.end()))
                                     : sumWithGaps(heights, spacing.gap);
    return content + spacing.top + spacing.bottom;
}

std::vector<Rect> layOut(Flow flow, const Rect& area, const std::vector<LayoutItem>& items,
                         const LayoutSpacing& spacing) {
    std::vector<Rect> out(items.size());
    const int left = area.left + spacing.left, top = area.top + spacing.top;
    const int inner = std::max(0, area.width - spacing.left - spacing.right);
    const int innerHeight = std::max(0, area.height - spacing.top - spacing.bottom);

    if (flow == Flow::Pairs) {
        const PairColumns c = pairColumns(items);
        const int valueWidth = std::max(0, inner - c.caption - spacing.gap);
        const std::vector<int> lines = pairLines(items, c.caption, valueWidth);
        int y = top;
        for (size_t line = 0; line < lines.size(); ++line) {
            for (size_t i = line * 2; i < std::min(items.size(), line * 2 + 2); ++i) {
                if (!items[i].shown) continue;
                const bool value = i % 2;
                const int w = value ? valueWidth : c.caption;
                const int h = items[i].heightFor(w);
                out[i] = {value ? left + c.caption + spacing.gap : left, y + (lines[line] - h) / 2, w, h};
            }
            y += lines[line] + spacing.gap;
        }
        return out;
    }

    if (across(flow)) {
        std::vector<int> widths;
        for (const LayoutItem& item : items)
            if (item.shown) widths.push_back(item.width);
        // A dialog's commands sit at the right end, a row starts at the left.
        int x = flow == Flow::Buttons ? left + inner - sumWithGaps(widths, spacing.gap) : left;
        for (size_t i = 0; i < items.size(); ++i) {
            if (!items[i].shown) continue;
            const int h = std::min(items[i].heightFor(items[i].width), innerHeight);
            out[i] = {x, top + (innerHeight - h) / 2, items[i].width, h};
            x += items[i].width + spacing.gap;
        }
        return out;
    }

    // A column: the height left over goes to the items that grow; without
    // any, it stays below (or, centred, is shared above and below).
    std::vector<int> heights(items.size(), 0);
    int used = 0, shown = 0, growing = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].shown) continue;
        heights[i] = items[i].heightFor(widthInColumn(flow, items[i], inner));
        used += heights[i] + (shown++ ? spacing.gap : 0);
        growing += items[i].grows;
    }
    const int spare = std::max(0, innerHeight - used);
    int y = top + (growing == 0 && flow == Flow::Centred ? spare / 2 : 0);
    int handedOut = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].shown) continue;
        int h = heights[i];
        if (items[i].grows) {
            const int share = spare / growing + (++handedOut == growing ? spare % growing : 0);
            h += share;
        }
        const int w = widthInColumn(flow, items[i], inner);
        out[i] = {left + (inner - w) / 2, y, w, h};
        y += h + spacing.gap;
    }
    return out;
}

}  // namespace tovlo
