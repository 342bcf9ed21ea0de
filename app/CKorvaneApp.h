#pragma once

// The application object: parses the command line, sets up the display context that every
// drawing surface shares, refuses screens below 8 bits per pixel, creates the document and the
// main frame, opens the file named on the command line and shows the splash picture.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace korvane {

class CKorvaneDoc;
class CMainFrame;
class DisplayContext;
class DocumentHistory;
class EditorRegistry;
class EmulatorLauncher;
class EmulatorSettings;
class LastFolderSettings;
class RecentFileList;
class RecoverySettings;
class RecoveryStore;
class SplashEventFilter;
class UserPrompt;
class UserReporter;

inline constexpr const char* kDepthRefusal =
    "This program cannot\nwork in a 8-colour screenmode.\nYur computar sux4r!! buy a new onr!!1";
inline constexpr int kNormalCooperativeLevel = 8;
inline constexpr int kLowestScreenDepth = 8;

struct CommandLine {
    QString fileName;       // empty: start with an empty document
    bool showSplash = true; // cleared by -nosplash
};
// Words after the program name: options start with '-' (or "--"); the first other word is the
// file.
CommandLine ParseCommandLine(const QStringList& arguments);

// The screen's depth in bits per pixel: KORVANE_SCREEN_DEPTH when set to a number, otherwise
// the primary screen's.
int ScreenDepthBits();

class CKorvaneApp : public QObject {
    Q_OBJECT
public:
    // settingsFile empty: the per-user settings; otherwise an INI file (tests).
    CKorvaneApp(UserReporter& reporter, UserPrompt& prompt, QString settingsFile = QString());
    ~CKorvaneApp() override;

    // arguments as QCoreApplication::arguments() gives them (program name first). False when
    // start-up fails and the program must end (exit status 1): a screen below 8 bits per pixel,
    // or a file named on the command line that cannot be opened (after its message).
    bool InitInstance(const QStringList& arguments);

    DisplayContext& display() { return *display_; }
    CKorvaneDoc& document() { return *document_; }
    DocumentHistory& history() { return *history_; }
    EditorRegistry& editors() { return *editors_; }
    RecentFileList& recentFiles() { return *recentFiles_; }
    // Play in Emulator's temporary folder and runs, and its emulator command.
    EmulatorLauncher& emulatorLauncher() { return *emulatorLauncher_; }
    EmulatorSettings& emulatorSettings() { return *emulatorSettings_; }
    CMainFrame* mainFrame() { return frame_.get(); }
    // The recovery copy of the unsaved work (removed on a clean exit).
    RecoveryStore& recovery() { return *recovery_; }
    const CommandLine& commandLine() const { return commandLine_; }

    // Called with the display context right after it is made, before the start-up calls: tests
    // use it to make a start-up call fail.
    void SetDisplayHook(std::function<void(DisplayContext&)> hook) {
        displayHook_ = std::move(hook);
    }

private:
    bool SetUpDisplay();
    void WatchFirstPreviewPaint();

    UserReporter& reporter_;
    UserPrompt& prompt_;
    QString settingsFile_;
    CommandLine commandLine_;
    std::unique_ptr<DisplayContext> display_;
    std::unique_ptr<CKorvaneDoc> document_;
    std::unique_ptr<DocumentHistory> history_;
    std::unique_ptr<EditorRegistry> editors_;
    std::unique_ptr<RecentFileList> recentFiles_;
    std::unique_ptr<EmulatorSettings> emulatorSettings_;
    std::unique_ptr<LastFolderSettings> lastFolder_;
    std::unique_ptr<EmulatorLauncher> emulatorLauncher_; // its files go with it
    std::unique_ptr<RecoverySettings> recoverySettings_;
    std::unique_ptr<RecoveryStore> recovery_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<SplashEventFilter> splashFilter_;
    std::function<void(DisplayContext&)> displayHook_;
};

} // namespace korvane
