// korvane-cli recover: the window's recovery copies of unsaved work, listed or written out.
#include "CliCommands.h"
#include "CliCommon.h"
#include "app/RecoveryFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <iostream>

namespace korvane::cli {

namespace {

std::string StateText(const RecoveryCopy& copy) {
    std::string text = copy.owned ? "held by a running Korvane" : "left over";
    switch (RecoveryFolder::StateOf(copy)) {
    case OriginalState::Unchanged:
    case OriginalState::Untitled:
        break;
    case OriginalState::Changed:
        text += ", the file has changed since";
        break;
    case OriginalState::Gone:
        text += ", the file is gone";
        break;
    }
    return text;
}

int ListCopies() {
    const std::vector<RecoveryCopy> copies = RecoveryFolder().List();
    if (copies.empty()) {
        std::cout << "No recovery copies.\n";
        return kExitOk;
    }
    for (const RecoveryCopy& copy : copies) {
        const QString original = copy.originalPath.isEmpty()
                                     ? QStringLiteral("Untitled")
                                     : QDir::toNativeSeparators(copy.originalPath);
        std::cout << QDir::toNativeSeparators(copy.copyPath).toStdString() << '\n'
                  << "  of " << original.toStdString() << ", from "
                  << copy.copiedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString()
                  << ", step " << copy.step;
        if (!copy.stepText.isEmpty()) {
            std::cout << " (" << copy.stepText.toStdString() << ')';
        }
        std::cout << ", " << StateText(copy) << '\n';
    }
    return kExitOk;
}

// The copy FILE names: the copy itself, its name, or the file it belongs to (the newest).
const RecoveryCopy* FindCopy(const std::vector<RecoveryCopy>& copies, const QString& file) {
    const QFileInfo named(file);
    const QString absolute = named.absoluteFilePath();
    for (const RecoveryCopy& copy : copies) {
        if (copy.id == file || QFileInfo(copy.copyPath).absoluteFilePath() == absolute ||
            QFileInfo(copy.infoPath).absoluteFilePath() == absolute) {
            return &copy;
        }
    }
    const RecoveryCopy* newest = nullptr;
    for (const RecoveryCopy& copy : copies) {
        if (!copy.originalPath.isEmpty() &&
            QFileInfo(copy.originalPath).absoluteFilePath() == absolute) {
            newest = &copy; // the list is oldest first
        }
    }
    return newest;
}

int WriteCopy(const std::string& file, const std::string& out) {
    const std::vector<RecoveryCopy> copies = RecoveryFolder().List();
    const RecoveryCopy* copy = FindCopy(copies, QString::fromStdString(file));
    if (copy == nullptr) {
        PrintError("there is no recovery copy of \"" + file + "\" (recover --list names them)");
        return kExitFailure;
    }
    if (OutputIsAnInput(out, {copy->copyPath.toStdString(), copy->infoPath.toStdString()})) {
        return kExitUsage;
    }
    QLockFile claim(copy->lockPath);
    claim.setStaleLockTime(0);
    if (copy->owned || !claim.tryLock(0)) {
        PrintError("the recovery copy " + copy->copyPath.toStdString() +
                   " is held by a running Korvane: save the work there");
        return kExitFailure;
    }
    QString error;
    const std::optional<std::vector<std::uint8_t>> content =
        RecoveryFolder::ReadContent(*copy, error);
    if (!content) {
        PrintError("can't read the recovery copy " + copy->copyPath.toStdString() + ": " +
                   error.toStdString());
        return kExitFailure;
    }
    if (const std::optional<std::string> problem = WriteFileReplacing(out, *content)) {
        PrintError(*problem);
        return kExitFailure;
    }
    RecoveryFolder::Remove(*copy);
    std::cout << "Wrote " << out << " (" << content->size() << " bytes) from "
              << copy->copyPath.toStdString() << '\n';
    return kExitOk;
}

} // namespace

int RunRecoverCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--list") {
        return ListCopies();
    }
    if (args.size() == 2 && !args[0].starts_with('-') && !args[1].starts_with('-')) {
        return WriteCopy(args[0], args[1]);
    }
    return UsageError("recover takes --list, or FILE and OUT");
}

} // namespace korvane::cli
