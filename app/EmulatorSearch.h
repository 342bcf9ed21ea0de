#pragma once

// Where the emulator's program is: a command's program found on the PATH (or in the folders
// Debian installs games to), and the emulators Debian packages, for a command not set yet.

#include <QString>
#include <QStringList>

#include <array>

namespace korvane {

// The emulators looked for when no command is set, in this order.
inline constexpr std::array<const char*, 3> kKnownEmulators{"fceux", "nestopia", "mednafen"};
// The folder Debian installs games to, searched after the PATH.
inline constexpr const char* kGamesFolder = "/usr/games";

enum class ProgramProblem {
    None,
    NotFound,      // nothing of that name
    NotExecutable, // a file without the execute permission
    Folder,        // a folder, not a program
};

struct ProgramLookup {
    QString path; // the program's file when found
    ProgramProblem problem = ProgramProblem::None;
};

// The PATH's folders, then the extra folders (by default the games folder).
QStringList ProgramSearchFolders(const QStringList& extraFolders = {
                                     QString::fromLatin1(kGamesFolder)});
// The program of a command: a name with a slash is that file, any other name the first file of
// that name in the folders that may be run. A file found that may not be run is reported as such
// when no folder has one that may.
ProgramLookup FindProgram(const QString& program, const QStringList& folders);
// The first of the known emulators found in the folders, as the path of its program; empty when
// none is there.
QString FindKnownEmulator(const QStringList& folders);
// Why a program cannot be started, for "Korvane can't start the emulator ...".
const char* ProgramProblemText(ProgramProblem problem);

} // namespace korvane
