#pragma once

// korvane-cli run as a process in a temporary folder: the fixture of the process tests.

#include "gamedata/RomImage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <unistd.h>

namespace korvane {

struct CliResult {
    int exitCode = -1;
    bool crashed = true;
    QString out;
    QString err;
};

inline QByteArray ImageBytes(const RomImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()),
                      static_cast<qsizetype>(image.size()));
}

class CliProcess : public ::testing::Test {
protected:
    CliResult Run(const QStringList& args, const QByteArray& input = {}) {
        QProcess process;
        process.start(QStringLiteral(KORVANE_CLI_PATH), args);
        EXPECT_TRUE(process.waitForStarted(10000));
        process.write(input);
        process.closeWriteChannel();
        return Finished(process);
    }
    // Waits for a started tool to end and gives what it said and how it ended.
    static CliResult Finished(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(60000));
        CliResult result;
        result.crashed = process.exitStatus() != QProcess::NormalExit;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadFile(const QString& name) {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Each command line is a usage error: exit 2 with the usage text, no crash.
    void ExpectUsageErrors(const std::vector<QStringList>& commandLines) {
        for (const QStringList& args : commandLines) {
            SCOPED_TRACE(args.join(' ').toStdString());
            const CliResult r = Run(args);
            EXPECT_FALSE(r.crashed);
            EXPECT_EQ(r.exitCode, 2);
            EXPECT_TRUE(r.err.contains("usage: korvane-cli")) << r.err.toStdString();
        }
    }
    // The demo written by the tool itself.
    QString Demo(std::uint32_t seed = 1) {
        const QString name = QStringLiteral("demo%1.nes").arg(seed);
        if (!QFile::exists(Path(name))) {
            const CliResult r = Run({"demo", Path(name), "--seed", QString::number(seed)});
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        }
        return Path(name);
    }

    // Runs the tool as the unprivileged user "nobody", for files that user may read but not
    // write; false when this process can't switch users.
    bool RunAsNobody(const QStringList& args, CliResult& result) {
        if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty()) {
            return false;
        }
        QProcess process;
        process.start(QStringLiteral("setpriv"),
                      QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                  QStringLiteral(KORVANE_CLI_PATH)} +
                          args);
        EXPECT_TRUE(process.waitForFinished(60000));
        result.crashed = process.exitStatus() != QProcess::NormalExit;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return true;
    }
    QStringList Entries() const {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    static QFile::Permissions ReadOnlyForAll() {
        return QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    }

    QTemporaryDir dir_;
};

} // namespace korvane
