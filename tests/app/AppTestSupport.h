#pragma once

// A started application with recording reporter and prompt, its settings in a temporary
// folder, and demo cartridges written there.

#include "app/CKorvaneApp.h"
#include "app/UserPrompt.h"
#include "gamedata/UserReporter.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace korvane::test {

class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    // Writes the demo cartridge of the seed into the temporary folder and returns its path.
    QString WriteCartridge(const QString& name, std::uint32_t seed = 1);
    QString PathIn(const QString& name) const { return folder_.filePath(name); }
    QString settingsFile() const { return folder_.filePath(QStringLiteral("settings.ini")); }

    // Creates the application and runs its start-up with these words after the program name.
    bool Start(const QStringList& words);
    // The same, with a hook that sees the display context before the start-up calls.
    bool Start(const QStringList& words, std::function<void(DisplayContext&)> displayHook);
    CKorvaneApp& app() { return *app_; }
    // Destroys the application (its window and everything it made).
    void Finish() { app_.reset(); }

    RecordingReporter reporter;
    RecordingPrompt prompt;

private:
    QTemporaryDir folder_;
    std::unique_ptr<CKorvaneApp> app_;
};

// A whole file's bytes (a failed test when it cannot be read), and a file written whole.
std::vector<std::uint8_t> ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const std::vector<std::uint8_t>& bytes);

} // namespace korvane::test
