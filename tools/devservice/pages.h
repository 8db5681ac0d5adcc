#pragma once
// The service's pages. Their templates are built into the program (pages/
// in the source tree); each is self-contained: the shared style sheet and
// script are written into it, so it needs nothing from outside.
#include <map>
#include <string>
#include <string_view>

#include "escaping.h"

namespace tovlo::devservice {

using PageValues = std::map<std::string, std::string>;

// Replaces each "{{name}}" whose name is in values, in one pass: text that a
// value brings in is never searched again. Unknown placeholders stay.
std::string fillTemplate(std::string_view text, const PageValues& values);

// The page template called name with "{{style}}" and "{{bridge}}" filled in
// from style.css and bridge.js and the other placeholders from values, which
// the caller has already escaped for where they go.
std::string renderPage(const std::string& name, PageValues values);

// One tile of a page's list (a pack, a class): the preview picture (or an
// "empty" mark when image is empty), the name and a detail line; clicking it
// sends command. Every value is escaped here.
std::string itemButton(const std::string& command, const std::string& image, const std::string& name,
                       const std::string& detail);

}  // namespace tovlo::devservice
