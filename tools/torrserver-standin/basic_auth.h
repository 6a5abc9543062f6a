#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torrserver {

// Basic authentication as today's server sets it up: with --httpauth, the accounts of
// "accs.db" (a JSON object of user to password) in the database folder. With --httpauth and
// no readable accs.db, the guarded routes refuse everyone, as the real server does.
class Accounts {
public:
    // `given` ("user:password") are written to accs.db first, replacing it.
    Accounts(const std::string& databaseFolder, bool httpAuth,
             const std::vector<std::string>& given);

    // Authentication is switched on (--httpauth).
    bool required() const { return httpAuth_; }
    // Accounts were read: requests carry whether they authenticated.
    bool checking() const { return checking_; }
    // The user an Authorization header names, when it matches an account exactly.
    std::optional<std::string> userOf(const std::string& authorization) const;

private:
    bool httpAuth_ = false;
    bool checking_ = false;
    std::vector<std::pair<std::string, std::string>> headers_; // "Basic ..." to user
};

} // namespace torrserver
