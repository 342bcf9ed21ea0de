// `korvane-cli play ROM [--emulator "COMMAND"]`: the cartridge in the emulator, as the window's
// Play in Emulator runs it: the content goes to a temporary file and the emulator (the option's
// command, the one of the Preferences, or the first known emulator found) is started on it. The
// tool waits for the emulator to end, so that the file stays while it is read, and then removes
// it.
#include "CliCommands.h"
#include "CliCommon.h"

#include "app/EmulatorCommand.h"
#include "app/EmulatorLauncher.h"
#include "app/EmulatorSearch.h"
#include "app/EmulatorSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <iostream>
#include <memory>

namespace korvane::cli {

namespace {

constexpr unsigned long kPollMs = 100;

} // namespace

int RunPlayCommand(const std::vector<std::string>& args) {
    std::string rom;
    std::optional<std::string> emulator;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--emulator") {
            if (i + 1 >= args.size()) {
                return UsageError("--emulator needs a command");
            }
            emulator = args[++i];
        } else if (rom.empty() && !args[i].starts_with("--")) {
            rom = args[i];
        } else {
            return UsageError("play takes a cartridge and an optional --emulator \"COMMAND\"");
        }
    }
    if (rom.empty()) {
        return UsageError("play needs a cartridge");
    }
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "korvane-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }

    CKorvaneDoc doc;
    if (!OpenCartridge(doc, rom)) {
        return kExitFailure;
    }
    EmulatorLauncher launcher;
    QString command = emulator ? QString::fromStdString(*emulator) : EmulatorSettings().command();
    if (EmulatorCommand(command).empty()) {
        const QString found = FindKnownEmulator(launcher.searchFolders());
        if (found.isEmpty()) {
            PrintError("no emulator command is set, and none of fceux, nestopia and mednafen is "
                       "on the PATH or in /usr/games; name one with --emulator \"COMMAND\"");
            return kExitFailure;
        }
        command = EmulatorCommand::Quoted(found);
    }
    std::optional<EmulatorRun> run = launcher.Start(
        command, doc.EncodedContent(), QFileInfo(QString::fromStdString(rom)).completeBaseName());
    if (!run) {
        PrintError(launcher.message());
        return kExitFailure;
    }
    std::cout << "playing " << QDir::toNativeSeparators(run->cartridge).toStdString() << " in "
              << run->program.toStdString() << " (process " << run->pid << ")" << std::endl;
    while (!EmulatorLauncher::HasEnded(*run)) {
        QThread::msleep(kPollMs);
    }
    if (run->started.elapsed() < kEmulatorWatchMs) {
        PrintError(EmulatorLauncher::EndedMessage(*run));
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace korvane::cli
