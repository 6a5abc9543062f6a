#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace qb::platform {

// Where the program keeps its files, fixed when it is built. A program folder (the default
// build, the demo and the tests) keeps every file beside its executable. A program installed
// into the system (the Debian package) keeps them in the user's own folders and never writes
// beside its executable: nothing a user runs, root included, can put settings into /usr/bin.
enum class FolderLayout { Portable, Installed };

// The user's folders of an installed program, each with a trailing "/".
struct UserFolders {
    QString settings; // app.json: $XDG_CONFIG_HOME/quillbrook/
    QString
        data; // the local server's "server/" folder and "tmp.torrent": $XDG_DATA_HOME/quillbrook/
    QString cache; // release pages: $XDG_CACHE_HOME/quillbrook/
};

// Reads an environment variable; one that is not set reads as the empty text.
using EnvironmentLookup = std::function<QString(const char* name)>;

// The folders by the XDG base directory rules: a variable that is empty or holds a relative
// path is passed over for its default under `home` (~/.config, ~/.local/share, ~/.cache).
// nullopt when a default is needed and `home` is not an absolute path either, so that nothing
// is ever written relative to whatever folder the program was started in.
std::optional<UserFolders> userFolders(const EnvironmentLookup& environment, const QString& home);

} // namespace qb::platform
