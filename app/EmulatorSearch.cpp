#include "EmulatorSearch.h"

#include <QDir>
#include <QFileInfo>

namespace korvane {

namespace {

ProgramLookup Look(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {QString(), ProgramProblem::NotFound};
    }
    if (info.isDir()) {
        return {QString(), ProgramProblem::Folder};
    }
    if (!info.isExecutable()) {
        return {QString(), ProgramProblem::NotExecutable};
    }
    return {info.absoluteFilePath(), ProgramProblem::None};
}

} // namespace

QStringList ProgramSearchFolders(const QStringList& extraFolders) {
    QStringList folders;
    const QString path = qEnvironmentVariable("PATH");
    for (const QString& folder : path.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        if (!folders.contains(folder)) {
            folders.append(folder);
        }
    }
    for (const QString& folder : extraFolders) {
        if (!folders.contains(folder)) {
            folders.append(folder);
        }
    }
    return folders;
}

ProgramLookup FindProgram(const QString& program, const QStringList& folders) {
    if (program.isEmpty()) {
        return {QString(), ProgramProblem::NotFound};
    }
    if (program.contains(u'/')) {
        return Look(program);
    }
    ProgramProblem problem = ProgramProblem::NotFound;
    for (const QString& folder : folders) {
        const ProgramLookup found = Look(QDir(folder).filePath(program));
        if (found.problem == ProgramProblem::None) {
            return found;
        }
        if (problem == ProgramProblem::NotFound) {
            problem = found.problem;
        }
    }
    return {QString(), problem};
}

QString FindKnownEmulator(const QStringList& folders) {
    for (const char* name : kKnownEmulators) {
        const ProgramLookup found = FindProgram(QString::fromLatin1(name), folders);
        if (found.problem == ProgramProblem::None) {
            return found.path;
        }
    }
    return QString();
}

const char* ProgramProblemText(ProgramProblem problem) {
    switch (problem) {
    case ProgramProblem::None:
        break;
    case ProgramProblem::NotFound:
        return "the program was not found";
    case ProgramProblem::NotExecutable:
        return "the program may not be run (it lacks the execute permission)";
    case ProgramProblem::Folder:
        return "it is a folder, not a program";
    }
    return "";
}

} // namespace korvane
