// The end-to-end test's driver: the real program on a cartridge, under the display it is given,
// runs Play in Emulator with the command of the settings file, says which process it started on
// which file, and ends (removing its temporary folder) once the stop file appears.
//   korvane-play-check SETTINGS.ini CARTRIDGE STOP_FILE
#include "app/CKorvaneApp.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/EmulatorLauncher.h"
#include "app/UserPrompt.h"
#include "gamedata/UserReporter.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kLongestRunMs = 90000;

void PrintMessages(const korvane::RecordingReporter& reporter) {
    for (const auto& message : reporter.messages) {
        std::fprintf(stderr, "message: %s\n", message.text.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: korvane-play-check SETTINGS.ini CARTRIDGE STOP_FILE\n");
        return 2;
    }
    const QString settings = QString::fromLocal8Bit(argv[1]);
    const QString cartridge = QString::fromLocal8Bit(argv[2]);
    const QString stopFile = QString::fromLocal8Bit(argv[3]);

    korvane::RecordingReporter reporter;
    korvane::RecordingPrompt prompt;
    int status = 0;
    {
        korvane::CKorvaneApp app(reporter, prompt, settings);
        if (!app.InitInstance(
                {QStringLiteral("korvane"), QStringLiteral("-nosplash"), cartridge})) {
            PrintMessages(reporter);
            return 1;
        }
        app.mainFrame()->action(korvane::cmd::kToolsPlay)->trigger();
        const auto& runs = app.emulatorLauncher().runs();
        if (runs.empty() || !reporter.messages.empty() || !prompt.emulatorQuestions.empty()) {
            std::fprintf(stderr, "Play started nothing\n");
            PrintMessages(reporter);
            return 1;
        }
        std::printf("pid %lld\nfolder %s\nfile %s\n", static_cast<long long>(runs[0].pid),
                    qPrintable(app.emulatorLauncher().folder()), qPrintable(runs[0].cartridge));
        std::fflush(stdout);

        QElapsedTimer running;
        running.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!reporter.messages.empty()) {
                PrintMessages(reporter);
                status = 1;
                application.quit();
            } else if (QFileInfo::exists(stopFile)) {
                application.quit();
            } else if (running.elapsed() > kLongestRunMs) {
                std::fprintf(stderr, "never told to stop\n");
                status = 1;
                application.quit();
            }
        });
        watch.start(100);
        QApplication::exec();
    }
    return status;
}
