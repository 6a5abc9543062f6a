#pragma once

#include <QString>

#include <mutex>
#include <optional>

namespace qb::connection {

// The two generations of TorrServer's HTTP interface: the 1.1 releases ("/torrent/list",
// "/torrent/add", ...) and every release since 1.2 ("/torrents" with an action, "/stream").
enum class ServerGeneration {
    Api11,
    Today,
};

// What the echo text of a server tells of its generation: "MatriX.143", "MatriX.136.2.NE" and
// "1.2.80_beta7.3" are today's, "1.1.77" is the 1.1 generation; any other text (a page, more
// than one short line) tells nothing.
std::optional<ServerGeneration> generationOfEcho(const QString& echo);

// The generation of the server the window talks to. Nothing is known of a new address: it is
// spoken to as a 1.1 server, which answers exactly the requests it always did, until an answer
// tells otherwise (a list request answered 404, an echo text). Learning starts again when the
// address changes or when the caller forgets it (the local server was switched). Thread-safe.
class GenerationMemory {
public:
    ServerGeneration generationFor(const QString& address) const;
    void learn(const QString& address, ServerGeneration generation);
    void forget();

private:
    mutable std::mutex Mutex_;
    QString Address_;
    ServerGeneration Generation_ = ServerGeneration::Api11;
};

} // namespace qb::connection
