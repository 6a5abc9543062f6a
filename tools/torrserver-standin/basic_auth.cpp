#include "basic_auth.h"

#include "go_json.h"
#include "text_escape.h"

#include <fstream>
#include <iterator>

namespace torrserver {

Accounts::Accounts(const std::string& databaseFolder, bool httpAuth,
                   const std::vector<std::string>& given)
    : httpAuth_(httpAuth) {
    const std::string file = databaseFolder + "/accs.db";
    if (!given.empty()) {
        Json accounts = Json::object();
        for (const std::string& account : given) {
            const auto colon = account.find(':');
            accounts[account.substr(0, colon)] = account.substr(colon + 1);
        }
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << accounts.dump();
    }
    if (!httpAuth_) {
        return;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return;
    }
    const Json accounts =
        Json::parse(std::string((std::istreambuf_iterator<char>(in)), {}), nullptr, false);
    // An accs.db that is not a JSON object sets nothing up (the guarded routes then refuse
    // everyone); an object checks requests against its members that are texts.
    if (!accounts.is_object()) {
        return;
    }
    checking_ = true;
    for (const auto& [user, password] : accounts.items()) {
        if (password.is_string()) {
            headers_.emplace_back("Basic " + base64Encode(user + ":" + password.get<std::string>()),
                                  user);
        }
    }
}

std::optional<std::string> Accounts::userOf(const std::string& authorization) const {
    if (authorization.empty()) {
        return std::nullopt;
    }
    for (const auto& [header, user] : headers_) {
        if (header == authorization) {
            return user;
        }
    }
    return std::nullopt;
}

} // namespace torrserver
