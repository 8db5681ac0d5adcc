#include "accounts.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

#include <filesystem>

#include "core/files.h"
#include "core/text.h"
#include "names.h"

namespace tovlo::devservice {

namespace {

constexpr int kIterations = 10000;

std::string derivedKey(const std::string& password, const std::string& saltHex) {
    QByteArray salt = QByteArray::fromHex(QByteArray::fromStdString(saltHex));
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, QByteArray::fromStdString(password), salt,
                                              kIterations, 32)
        .toHex()
        .toStdString();
}

std::string newSalt() {
    QByteArray salt(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), 4);
    return salt.toHex().toStdString();
}

// Compares every byte, so the time taken does not tell how much matched.
bool sameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

}  // namespace

std::vector<AccountStore::Account> AccountStore::read() const {
    std::vector<Account> accounts;
    for (const std::string& line : split(readFileBytes(folder_.accountsFile()).value_or(""), "\n")) {
        std::vector<std::string> fields = split(line, "\t");
        if (fields.size() == 3) accounts.push_back({fields[0], fields[1], fields[2]});
    }
    return accounts;
}

Outcome AccountStore::registerAccount(const std::string& name, const std::string& password) {
    if (std::string problem = accountNameProblem(name, codec_); !problem.empty()) return Outcome::refused(400, problem);
    if (std::string problem = passwordProblem(password); !problem.empty()) return Outcome::refused(400, problem);
    std::lock_guard guard(lock_);
    std::vector<Account> accounts = read();
    for (const Account& a : accounts)
        if (equalsNoCase(a.name, name)) return Outcome::refused(409, "该账号已被注册");
    std::string salt = newSalt();
    accounts.push_back({name, salt, derivedKey(password, salt)});
    std::string text;
    for (const Account& a : accounts) text += a.name + "\t" + a.salt + "\t" + a.key + "\n";
    std::error_code ec;
    std::filesystem::create_directories(folder_.data(), ec);
    if (!replaceFileAtomically(folder_.accountsFile(), text)) return Outcome::refused(500, "保存账号失败");
    return Outcome::done();
}

Outcome AccountStore::login(const std::string& name, const std::string& password) const {
    std::lock_guard guard(lock_);
    for (const Account& a : read())
        if (a.name == name && sameKey(derivedKey(password, a.salt), a.key)) return Outcome::done();
    return Outcome::refused(403, "账号或密码错误");
}

bool AccountStore::exists(const std::string& name) const {
    std::lock_guard guard(lock_);
    for (const Account& a : read())
        if (a.name == name) return true;
    return false;
}

}  // namespace tovlo::devservice
