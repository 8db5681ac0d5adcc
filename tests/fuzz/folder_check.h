#pragma once
// Where a joined path really leads, judged on the text of the path alone
// (no links are followed): the way a file name from outside must not lead
// out of the folder it was joined to.
#include <string>

namespace tovlo::fuzz {

// Whether the path, made normal ("." and ".." resolved), lies below the folder.
bool staysUnder(const std::string& folder, const std::string& path);
// Whether the path, made normal, names an entry right inside the folder.
bool staysDirectlyIn(const std::string& folder, const std::string& path);

}  // namespace tovlo::fuzz
