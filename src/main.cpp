// Process entry. The build compiles this file once for each place the program's files can live:
// QB_INSTALLED_LAYOUT 0 makes the program folder's executable, 1 the installed one.
#include "app/entry/program_entry.h"

#ifndef QB_INSTALLED_LAYOUT
#error "QB_INSTALLED_LAYOUT must be 0 or 1"
#endif

int main(int argc, char** argv) {
    return qb::app::runProgram(argc, argv,
                               QB_INSTALLED_LAYOUT ? qb::platform::FolderLayout::Installed
                                                   : qb::platform::FolderLayout::Portable);
}
