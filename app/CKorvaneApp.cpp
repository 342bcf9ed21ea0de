#include "CKorvaneApp.h"

#include "editors/EditorZoomSettings.h"

#include "CKorvaneView.h"
#include "CMainFrame.h"
#include "CSplashWindow.h"
#include "DocumentHistory.h"
#include "EditorRegistry.h"
#include "EmulatorLauncher.h"
#include "EmulatorSettings.h"
#include "LastFolderSettings.h"
#include "RecentFileList.h"
#include "RecoverySettings.h"
#include "RecoveryStore.h"
#include "StandardEditors.h"
#include "StartupReport.h"
#include "editors/CCanvasControl.h"
#include "gamedata/CKorvaneDoc.h"
#include "graphics/CPixelImage.h"
#include "graphics/DisplayLayer.h"

#include <QApplication>
#include <QScreen>

namespace korvane {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word.size() > 1 && word.startsWith(u'-')) {
            QString option = word.mid(1);
            if (option.startsWith(u'-')) {
                option = option.mid(1);
            }
            if (option.compare(QStringLiteral("nosplash"), Qt::CaseInsensitive) == 0) {
                line.showSplash = false;
            }
            continue;
        }
        if (line.fileName.isEmpty()) {
            line.fileName = word;
        }
    }
    return line;
}

int ScreenDepthBits() {
    bool isNumber = false;
    const int overridden = qEnvironmentVariableIntValue("KORVANE_SCREEN_DEPTH", &isNumber);
    if (isNumber) {
        return overridden;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->depth() : 32;
}

CKorvaneApp::CKorvaneApp(UserReporter& reporter, UserPrompt& prompt, QString settingsFile)
    : reporter_(reporter), prompt_(prompt), settingsFile_(std::move(settingsFile)) {}

CKorvaneApp::~CKorvaneApp() {
    CSplashWindow::HideCurrent();
    if (splashFilter_ && qApp != nullptr) {
        qApp->removeEventFilter(splashFilter_.get());
    }
    frame_.reset();
}

bool CKorvaneApp::SetUpDisplay() {
    display_ = std::make_unique<DisplayContext>(ScreenDepthBits(), &reporter_);
    if (displayHook_) {
        displayHook_(*display_);
    }
    // A failure is reported (which asks the application to quit) and start-up goes on; the
    // event loop then ends the program as soon as it runs.
    auto check = [this](DisplayCode code) {
        if (code != kDisplayOk) {
            display_->ReportDisplayError(code, callid::kStartup);
        }
        return code == kDisplayOk;
    };
    check(display_->CreateDevice());
    check(display_->SetCooperativeLevel(kNormalCooperativeLevel));
    check(display_->CreatePrimarySurface());
    int bitsPerPixel = 0;
    if (check(display_->GetPrimaryPixelFormat(bitsPerPixel)) && bitsPerPixel < kLowestScreenDepth) {
        reporter_.ShowMessage(MessageIcon::Stop, "Korvane", kDepthRefusal);
        return false;
    }
    check(display_->CreatePrimaryClipper());
    // Pixel images (button images, list cells) are kept in the screen's own layout.
    CPixelImage::SetScreenDepth(display_->screenDepth());
    return true;
}

bool CKorvaneApp::InitInstance(const QStringList& arguments) {
    commandLine_ = ParseCommandLine(arguments);
    CSplashWindow::SetPermitted(commandLine_.showSplash);
    recentFiles_ = std::make_unique<RecentFileList>(settingsFile_);
    emulatorSettings_ = std::make_unique<EmulatorSettings>(settingsFile_);
    EditorZoomSettings::UseSettingsFile(settingsFile_);
    emulatorLauncher_ = std::make_unique<EmulatorLauncher>();
    if (!SetUpDisplay()) {
        return false;
    }
    document_ = std::make_unique<CKorvaneDoc>(&reporter_);
    history_ = std::make_unique<DocumentHistory>(*document_);
    editors_ = std::make_unique<EditorRegistry>();
    RegisterStandardEditors(*editors_);
    frame_ = std::make_unique<CMainFrame>(*document_, *history_, *display_, *editors_, reporter_,
                                          prompt_, *recentFiles_);
    frame_->SetEmulator(*emulatorLauncher_, *emulatorSettings_);
    lastFolder_ = std::make_unique<LastFolderSettings>(settingsFile_);
    frame_->SetLastFolder(*lastFolder_);
    recoverySettings_ = std::make_unique<RecoverySettings>(settingsFile_);
    recovery_ = std::make_unique<RecoveryStore>();
    if (recovery_->Start()) {
        frame_->SetRecovery(*recovery_, *recoverySettings_);
    }
    if (StartupReportRequested()) {
        WatchFirstPreviewPaint();
    }
    if (FreezeAnimationRequested()) {
        CCanvasControl& preview = frame_->view().preview();
        preview.installEventFilter(new AnimationFreezer(&preview));
    }

    // A file named on the command line that cannot be opened has been reported with File
    // Open's message; start-up then fails, and the program ends without showing a window.
    if (!commandLine_.fileName.isEmpty()) {
        if (!frame_->OpenDocumentFile(commandLine_.fileName)) {
            frame_.reset();
            return false;
        }
    } else {
        frame_->view().InitialUpdate();
        frame_->UpdateTitle();
    }

    frame_->show();
    frame_->repaint();
    // Before the splash, which would take the first key press.
    frame_->OfferRecovery();
    splashFilter_ = std::make_unique<SplashEventFilter>();
    qApp->installEventFilter(splashFilter_.get());
    CSplashWindow::ShowOver(frame_.get());
    if (const QString script = TestEditScriptPath(); !script.isEmpty()) {
        frame_->RunTestEdit(script);
    }
    return true;
}

void CKorvaneApp::WatchFirstPreviewPaint() {
    auto* watcher = new FirstPaintWatcher(&frame_->view().preview());
    frame_->view().preview().installEventFilter(watcher);
}

} // namespace korvane
