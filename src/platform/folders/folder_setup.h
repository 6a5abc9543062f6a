#pragma once

#include "platform/folders/user_folders.h"

#include <optional>

namespace qb::platform {

// The installed program's folders for the user running it: from this process's environment,
// with the home folder from $HOME or, when that is not an absolute path, from the user database.
// nullopt when no home folder can be found at all.
std::optional<UserFolders> userFoldersOfThisUser();

// Makes what an installed program needs on its first start: the settings folder, the data
// folder with its "server" folder, and the cache folder. Each folder that has to be made is
// made for its owner only (0700), as the base directory rules ask; folders that exist are left
// as they are. False when one of them cannot be made.
bool makeUserFolders(const UserFolders& folders);

} // namespace qb::platform
