#pragma once
// The history's pictures as the main page will show them. A face whose file
// has gone from the disk (the class manager dropped its class's folder, say)
// is fetched again from where it came: an account's face from the service's
// /soft/ folder, a pack's face from the face download base. One that cannot
// be fetched is left out of the list, so the page never shows a broken
// picture. Entries that are no local files pass as they are.
#include <string>
#include <vector>

#include "core/public_parm.h"
#include "platform/url_fetch.h"

namespace tovlo {

// The address a face of the program folder was downloaded from; "" for a
// file that did not come from the service.
std::string originOfFace(const PublicParm& parm, const std::string& path);

// The images in their order, each one shown whole or left out.
std::vector<std::string> picturesToShow(const std::vector<std::string>& images, const PublicParm& parm,
                                        UrlFetch& fetch);

}  // namespace tovlo
