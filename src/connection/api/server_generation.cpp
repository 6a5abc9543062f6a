#include "connection/api/server_generation.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection {

namespace {
// A version text is one short line; a page that happens to begin like one is none.
constexpr qsizetype kMaxVersionLength = 64;
} // namespace

std::optional<ServerGeneration> generationOfEcho(const QString& echo) {
    const QString version = echo.trimmed();
    if (version.size() > kMaxVersionLength || version.contains(u'\n') || version.contains(u'\r')) {
        return std::nullopt;
    }
    if (version.startsWith(u"MatriX"_s, Qt::CaseInsensitive) || version.startsWith(u"1.2."_s)) {
        return ServerGeneration::Today;
    }
    if (version.startsWith(u"1.1."_s)) {
        return ServerGeneration::Api11;
    }
    return std::nullopt;
}

ServerGeneration GenerationMemory::generationFor(const QString& address) const {
    const std::lock_guard lock(Mutex_);
    return address == Address_ ? Generation_ : ServerGeneration::Api11;
}

void GenerationMemory::learn(const QString& address, ServerGeneration generation) {
    const std::lock_guard lock(Mutex_);
    Address_ = address;
    Generation_ = generation;
}

void GenerationMemory::forget() {
    const std::lock_guard lock(Mutex_);
    Address_.clear();
    Generation_ = ServerGeneration::Api11;
}

} // namespace qb::connection
