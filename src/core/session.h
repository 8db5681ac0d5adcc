#pragma once
// The account that is logged in (the global userName) and where accounts
// keep their faces: App/w/CustomFace/<account>/, with one folder per class.
#include <optional>
#include <string>

#include "public_parm.h"

namespace tovlo {

class Session {
public:
    explicit Session(PublicParm& parm) : parm_(parm) {}

    const std::string& userName() const { return parm_.userName; }
    void setUserName(const std::string& name) { parm_.userName = name; }
    bool loggedIn() const { return !parm_.userName.empty(); }

    // The folder of every account, and of one account.
    std::string accountsFolder() const;
    std::string accountFolder(const std::string& account) const;
    // The logged-in account's folder, and the folder of one of its classes.
    std::string ownFolder() const { return accountFolder(parm_.userName); }
    std::string classFolder(const std::string& classId) const;
    // The logged-in account's folder; nothing when nobody is logged in (or
    // the name is no single folder name). Whoever acts on an account's files
    // does nothing then: the folder of all accounts is never taken for one.
    std::optional<std::string> accountFolderInUse() const;

private:
    PublicParm& parm_;
};

}  // namespace tovlo
