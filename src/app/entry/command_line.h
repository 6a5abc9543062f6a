#pragma once

#include <QString>

namespace qb::app {

// What the command line asks for. The program's one argument is a magnet link or a ".torrent"
// file; "--version" and "--help" (or "-h") in its place only print and end, before any window,
// lock or hand-off.
enum class CommandLineRequest { Run, PrintVersion, PrintHelp };

CommandLineRequest commandLineRequest(int argc, const char* const* argv);

// "Quillbrook 1.8.4" and a line break.
QString versionText();

// Where this copy of the program keeps its files, as the help names them.
struct FileLocations {
    QString settingsFile;
    QString serverFolder;
    QString cacheFolder;
};

// The short usage, with the places of the program's files.
QString helpText(const FileLocations& files);

} // namespace qb::app
