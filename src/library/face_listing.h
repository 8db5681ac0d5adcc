#pragma once
// The listing of one page of a class (showFace.asp): a head, then entries
// separated by "||", each "thumbnail$$picture" (paths relative to the
// account's folder, "/"-separated), and after "--" the page counts. A
// listing without "--" is taken whole as the list.
#include <string>
#include <string_view>
#include <vector>

namespace tovlo {

// The elements of the list: element 0 is the head, the entries follow.
std::vector<std::string> faceListOf(std::string_view listing);

// An entry's two paths; a path that would leave the account's folder (or is
// missing) comes back empty.
struct FacePaths {
    std::string thumbnail, picture;
};
FacePaths facePathsOf(std::string_view entry);

}  // namespace tovlo
