#include "history_pictures.h"

#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"

namespace tovlo {

namespace {

// The "/"-separated path of `path` below `folder`; "" when it is not below it.
std::string pathBelow(const std::string& folder, const std::string& path) {
    const std::string base = withoutTrailingSeparators(folder) + kPathSep;
    if (folder.empty() || !startsWith(path, base)) return "";
    const std::string rest = pageSlashes(path.substr(base.size()));
    return isSafeRelativePath(rest) ? rest : "";
}

// The folder of a file, made as needed.
bool makeFolderOf(const std::string& path) {
    const std::string folder = pathText(fsPath(path).parent_path());
    makeDirectories(folder);
    return folderExists(folder);
}

}  // namespace

std::string originOfFace(const PublicParm& parm, const std::string& path) {
    // An account's face: CustomFace/<account>/<path of the service's listing>.
    const std::string own = pathBelow(joinPath(parm.app, {"w", "CustomFace"}), path);
    if (!own.empty()) {
        const std::size_t account = own.find('/');
        if (account == std::string::npos) return "";
        return serviceUrl(parm.serviceHost, "/soft/" + servicePath(own.substr(account + 1)));
    }
    // A pack's face: <face folder>/<pack>/<file>, the face folder being the
    // one in use or the default one the pack was fetched into before a move.
    for (const std::string& root : {parm.facePath, joinPath(parm.app, {"w"})}) {
        const std::vector<std::string> names = split(pathBelow(root, path), "/");
        if (names.size() == 2) return parm.faceHttpPath + serviceEncode(names[0]) + "/" + serviceEncode(names[1]);
    }
    return "";
}

std::vector<std::string> picturesToShow(const std::vector<std::string>& images, const PublicParm& parm,
                                        UrlFetch& fetch) {
    std::vector<std::string> shown;
    for (const std::string& image : images) {
        const std::optional<std::string> path = localPathOf(image);
        if (!path || fileExists(*path)) {
            shown.push_back(image);
            continue;
        }
        const std::string origin = originOfFace(parm, *path);
        if (origin.empty()) continue;
        const std::optional<std::string> bytes = fetch.fetchBytes(origin);
        if (bytes && !bytes->empty() && makeFolderOf(*path) && replaceFileAtomically(*path, *bytes))
            shown.push_back(image);
    }
    return shown;
}

}  // namespace tovlo
