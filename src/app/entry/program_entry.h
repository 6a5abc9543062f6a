#pragma once

#include "platform/folders/user_folders.h"

namespace qb::app {

// The whole program: the command line, the single-copy rule with the hand-off of the argument
// to a running copy, then the main window until it closes. Each executable fixes `layout`.
int runProgram(int argc, char** argv, qb::platform::FolderLayout layout);

} // namespace qb::app
