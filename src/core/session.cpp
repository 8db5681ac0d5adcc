#include "session.h"

#include "paths.h"

namespace tovlo {

std::string Session::accountsFolder() const { return joinPath(parm_.app, {"w", "CustomFace"}); }

std::string Session::accountFolder(const std::string& account) const { return joinPath(accountsFolder(), {account}); }

std::string Session::classFolder(const std::string& classId) const { return joinPath(ownFolder(), {classId}); }

std::optional<std::string> Session::accountFolderInUse() const {
    if (!isSafeName(parm_.userName)) return std::nullopt;
    return ownFolder();
}

}  // namespace tovlo
