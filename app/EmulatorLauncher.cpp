#include "EmulatorLauncher.h"

#include "EmulatorSearch.h"
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/FileMessages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>

#include <signal.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace korvane {

namespace {

constexpr int kErrorLines = 8;           // lines of the error output told
constexpr qsizetype kErrorLineMax = 200; // characters of each

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

// Emulators started detached are not Korvane's children but its grandchildren; as the
// subreaper of its descendants Korvane becomes their parent when the go-between ends, and can
// learn how they end. Elsewhere only that they ended can be seen.
void AdoptOrphanedDescendants() {
#ifdef __linux__
    static const bool adopted = prctl(PR_SET_CHILD_SUBREAPER, 1L, 0L, 0L, 0L) == 0;
    static_cast<void>(adopted);
#endif
}

// The last lines of a file of text, blank lines left out, each cut to a readable length.
std::string LastLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty()) {
            lines.append(trimmed.size() > kErrorLineMax
                             ? trimmed.left(kErrorLineMax) + QStringLiteral("...")
                             : trimmed);
        }
    }
    if (lines.size() > kErrorLines) {
        lines = lines.mid(lines.size() - kErrorLines);
    }
    return lines.join(u'\n').toStdString();
}

} // namespace

EmulatorLauncher::EmulatorLauncher(QStringList extraFolders)
    : extraFolders_(std::move(extraFolders)) {}

EmulatorLauncher::~EmulatorLauncher() = default;

QStringList EmulatorLauncher::searchFolders() const {
    return ProgramSearchFolders(extraFolders_);
}

QString EmulatorLauncher::folder() const {
    return folder_ ? folder_->path() : QString();
}

bool EmulatorLauncher::MakeFolder() {
    if (folder_ && folder_->isValid()) {
        return true;
    }
    folder_ = std::make_unique<QTemporaryDir>(
        QDir::temp().filePath(QStringLiteral("korvane-play-XXXXXX")));
    if (!folder_->isValid()) {
        message_ = JoinText({"Korvane can't make a folder for the cartridges it plays in ",
                             QuotedPath(Native(QDir::tempPath())), ": ",
                             folder_->errorString().toStdString(), "."});
        folder_.reset();
        return false;
    }
    return true;
}

std::optional<EmulatorRun> EmulatorLauncher::Start(const QString& command,
                                                   std::span<const std::uint8_t> content,
                                                   const QString& baseName) {
    message_.clear();
    for (EmulatorRun& earlier : runs_) {
        if (!earlier.ended) {
            HasEnded(earlier); // an emulator that ended is not left a zombie
        }
    }
    const EmulatorCommand words(command);
    if (words.empty()) {
        message_ = "Korvane can't start the emulator: no emulator command is set.";
        return std::nullopt;
    }
    const ProgramLookup program = FindProgram(words.program(), searchFolders());
    if (program.problem != ProgramProblem::None) {
        message_ = CannotMessage("start the emulator", Native(words.program()),
                                 ProgramProblemText(program.problem));
        return std::nullopt;
    }
    if (!MakeFolder()) {
        return std::nullopt;
    }

    const QString stem = QStringLiteral("%1-%2")
                             .arg(baseName.isEmpty() ? QStringLiteral("cartridge") : baseName)
                             .arg(nextNumber_++);
    EmulatorRun run;
    run.program = words.program();
    run.cartridge = QDir(folder_->path()).filePath(stem + QStringLiteral(".nes"));
    run.errorFile = QDir(folder_->path()).filePath(stem + QStringLiteral(".errors.txt"));
    AtomicFileWriter writer(run.cartridge.toStdString(), AtomicFileWriter::Target::NewOrExisting);
    if (failWriteAfter_ >= 0) {
        writer.FailAfterBytesForTesting(failWriteAfter_);
        failWriteAfter_ = -1;
    }
    if (!writer.Write({content})) {
        message_ = writer.message();
        return std::nullopt;
    }

    AdoptOrphanedDescendants();
    QProcess process;
    process.setProgram(program.path);
    process.setArguments(words.ArgumentsFor(run.cartridge));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(run.errorFile);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        message_ = CannotMessage(
            "start the emulator", Native(words.program()),
            JoinText({"the system can't run it (", process.errorString().toStdString(), ")"}));
        return std::nullopt;
    }
    run.pid = pid;
    run.started.start();
    runs_.push_back(run);
    return run;
}

bool EmulatorLauncher::HasEnded(EmulatorRun& run) {
    if (run.ended || run.pid <= 0) {
        return true;
    }
    const auto pid = static_cast<pid_t>(run.pid);
    int status = 0;
    const pid_t waited = waitpid(pid, &status, WNOHANG);
    if (waited == pid) {
        run.ended = true;
        if (WIFEXITED(status)) {
            run.exitStatus = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            run.signal = WTERMSIG(status);
        }
        return true;
    }
    if (waited == 0) {
        return false;
    }
    // Not a child of Korvane's: only whether it is still there can be seen.
    if (kill(pid, 0) == 0 || errno == EPERM) {
        return false;
    }
    run.ended = true;
    return true;
}

std::string EmulatorLauncher::EndedMessage(const EmulatorRun& run) {
    std::string how;
    if (run.exitStatus) {
        how = ", with exit status " + std::to_string(*run.exitStatus);
    } else if (run.signal) {
        how = ", stopped by signal " + std::to_string(*run.signal);
    }
    const std::string said = LastLines(run.errorFile);
    return JoinText({"The emulator ", QuotedPath(Native(run.program)),
                     " ended within two seconds of its start", how, ". ",
                     said.empty() ? "It wrote nothing to its error output."
                                  : "The last lines it wrote to its error output:\n\n",
                     said});
}

} // namespace korvane
