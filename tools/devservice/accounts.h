#pragma once
// Accounts of the service, one line each in data/accounts.txt: the name, a
// random salt and the PBKDF2-SHA256 key of the password (both hexadecimal).
// Passwords are never stored. Every call reads the file, so a restart or a
// change made by hand is seen at once.
#include <mutex>
#include <string>
#include <vector>

#include "data_folder.h"
#include "outcome.h"
#include "platform/text_codec.h"

namespace tovlo::devservice {

class AccountStore {
public:
    AccountStore(DataFolder folder, const TextCodec& codec) : folder_(std::move(folder)), codec_(codec) {}

    // Refused: 400 for a bad name or password, 409 when the name is taken
    // (letter case aside, as the program's folders on Windows would be).
    Outcome registerAccount(const std::string& name, const std::string& password);
    // Refused with 403 for an unknown name or a wrong password alike.
    Outcome login(const std::string& name, const std::string& password) const;
    bool exists(const std::string& name) const;

private:
    struct Account {
        std::string name, salt, key;
    };
    std::vector<Account> read() const;

    DataFolder folder_;
    const TextCodec& codec_;
    mutable std::mutex lock_;
};

}  // namespace tovlo::devservice
