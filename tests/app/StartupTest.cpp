// Start-up: the command line, the screen depth refusal, the splash and a file that fails.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CSplashWindow.h"
#include "app/RecentFileList.h"
#include "editors/CCanvasControl.h"
#include "gamedata/CKorvaneDoc.h"

#include "graphics/CPixelImage.h"
#include "graphics/DisplayLayer.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

class ScopedDepth {
public:
    explicit ScopedDepth(const char* bits) { qputenv("KORVANE_SCREEN_DEPTH", bits); }
    ~ScopedDepth() { qunsetenv("KORVANE_SCREEN_DEPTH"); }
};

TEST(StartupTest, OpensTheFileNamedOnTheCommandLine) {
    AppFixture fixture;
    const QString path = fixture.WriteCartridge(QStringLiteral("demo.nes"));
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash"), path}));
    CKorvaneApp& app = fixture.app();
    EXPECT_TRUE(fixture.reporter.messages.empty());

    EXPECT_TRUE(app.document().fileLoaded());
    EXPECT_TRUE(app.document().decoded());
    EXPECT_EQ(app.mainFrame()->windowTitle(), QStringLiteral("demo.nes[*] - Korvane"));
    EXPECT_FALSE(app.mainFrame()->isWindowModified());
    EXPECT_EQ(app.mainFrame()->toolBar().actions().size(), 16);
    EXPECT_EQ(app.mainFrame()->view().level(), 0);
    EXPECT_EQ(app.mainFrame()->view().hallway(), 0);
    EXPECT_EQ(app.mainFrame()->view().highlights().currentIndex(), 17);
    EXPECT_EQ(app.recentFiles().entries(), QStringList{path});
    EXPECT_TRUE(app.mainFrame()->isVisible());
}

TEST(StartupTest, NoSplashOptionKeepsTheSplashAway) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    EXPECT_FALSE(fixture.app().commandLine().showSplash);
    EXPECT_EQ(CSplashWindow::current(), nullptr);
}

TEST(StartupTest, SplashShowsAndConsumesTheFirstKey) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({}));
    CSplashWindow* splash = CSplashWindow::current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(400, 200));
    EXPECT_TRUE(splash->isVisible());

    QSpinBox& level = fixture.app().mainFrame()->view().levelField();
    const QString before = level.text();
    QTest::keyClick(&level, Qt::Key_Up);
    EXPECT_EQ(CSplashWindow::current(), nullptr);
    EXPECT_EQ(level.text(), before); // the key went to the splash, not the field
    // The next key reaches the field again (the empty document ignores the change itself).
    QTest::keyClick(&level, Qt::Key_Up);
    EXPECT_NE(level.text(), before);
}

TEST(StartupTest, TheSplashIsCentredOnTheScreenWhereverTheFrameIs) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({}));
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->availableGeometry();
    // The 400 x 200 picture with as much of the screen's free area on either side.
    const QPoint centred(area.x() + (area.width() - 400) / 2, area.y() + (area.height() - 200) / 2);
    CSplashWindow* splash = CSplashWindow::current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->geometry(), QRect(centred, QSize(400, 200)));

    // A frame moved into a corner and made small does not pull the splash along.
    CSplashWindow::HideCurrent();
    QWidget* frame = fixture.app().mainFrame();
    frame->showNormal();
    frame->setGeometry(QRect(area.topLeft() + QPoint(20, 30), frame->minimumSizeHint()));
    ASSERT_NE(frame->geometry().center(), area.center());
    splash = CSplashWindow::ShowOver(frame);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->geometry(), QRect(centred, QSize(400, 200)));
    CSplashWindow::HideCurrent();
}

TEST(StartupTest, SplashHidesOnAMousePress) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({}));
    ASSERT_NE(CSplashWindow::current(), nullptr);
    QTest::mouseClick(fixture.app().mainFrame(), Qt::LeftButton);
    EXPECT_EQ(CSplashWindow::current(), nullptr);
}

TEST(StartupTest, RefusesAScreenBelowEightBits) {
    const ScopedDepth depth("4");
    AppFixture fixture;
    EXPECT_FALSE(fixture.Start({QStringLiteral("-nosplash")}));
    ASSERT_EQ(fixture.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture.reporter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(fixture.reporter.messages[0].text,
              "This program cannot\nwork in a 8-colour screenmode.\nYur computar sux4r!! buy a "
              "new onr!!1");
    EXPECT_EQ(fixture.app().mainFrame(), nullptr);
}

TEST(StartupTest, StartsOnAnEightBitScreen) {
    const ScopedDepth depth("8");
    AppFixture fixture;
    EXPECT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    EXPECT_TRUE(fixture.reporter.messages.empty());
    EXPECT_EQ(fixture.app().display().screenDepth(), 8);
}

TEST(StartupTest, StartsOnAnEightBitScreenAndKeepsPixelImagesInThatLayout) {
    const ScopedDepth depth("16");
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    EXPECT_EQ(CPixelImage::ScreenDepth(), 16);
    CPixelImage::SetScreenDepth(32);
}

TEST(StartupTest, DisplayFailureDuringStartUpIsReportedWithIdMinusOneAndQuits) {
    AppFixture fixture;
    const bool started = fixture.Start({QStringLiteral("-nosplash")}, [](DisplayContext& context) {
        context.InjectFault(callid::kStartup, dderr::kSystemFail);
    });
    // Start-up goes on; the quit request ends the program once the event loop runs.
    EXPECT_TRUE(started);
    ASSERT_EQ(fixture.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture.reporter.messages[0].title, "Error");
    EXPECT_EQ(fixture.reporter.messages[0].text, "DirectDraw Error DDERR_GENERIC, ID=-1");
    EXPECT_EQ(fixture.reporter.quitRequests, std::vector<int>{0});
}

TEST(StartupTest, DepthComesFromThePrimaryScreenWithoutOverride) {
    qunsetenv("KORVANE_SCREEN_DEPTH");
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_EQ(ScreenDepthBits(), QGuiApplication::primaryScreen()->depth());
    const ScopedDepth depth("16");
    EXPECT_EQ(ScreenDepthBits(), 16);
}

TEST(StartupTest, ACommandLineFileThatCannotBeOpenedEndsStartUpAfterItsMessage) {
    AppFixture fixture;
    const QString missing = fixture.PathIn(QStringLiteral("missing.nes"));
    const QString readOnly = fixture.WriteCartridge(QStringLiteral("clean.nes"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup));
    // File Open's messages for the same files.
    AppFixture running;
    ASSERT_TRUE(running.Start({QStringLiteral("-nosplash")}));
    running.prompt.openAnswers = {missing, readOnly};
    EXPECT_FALSE(running.app().mainFrame()->FileOpen());
    EXPECT_FALSE(running.app().mainFrame()->FileOpen());
    ASSERT_EQ(running.reporter.messages.size(), 2U);
    EXPECT_EQ(running.reporter.messages[0].text,
              "Korvane can't open \"" + missing.toStdString() + "\": the file does not exist.");
    EXPECT_EQ(running.reporter.messages[1].text, kReadOnlyMessage);
    running.app().mainFrame()->hide();

    for (std::size_t i = 0; i < 2; ++i) {
        const QString file = i == 0 ? missing : readOnly;
        SCOPED_TRACE(file.toStdString());
        AppFixture failing;
        EXPECT_FALSE(failing.Start({file})); // the splash is allowed, yet never shown
        ASSERT_EQ(failing.reporter.messages.size(), 1U);
        EXPECT_EQ(failing.reporter.messages[0].text, running.reporter.messages[i].text);
        EXPECT_EQ(failing.reporter.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(failing.app().mainFrame(), nullptr);
        EXPECT_EQ(CSplashWindow::current(), nullptr);
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
        }
        EXPECT_TRUE(failing.app().recentFiles().entries().isEmpty());
    }
}

TEST(StartupTest, TheProgramEndsWithStatusOneOnACommandLineFileThatCannotBeOpened) {
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("missing.nes"));
    QProcess korvane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("KORVANE_MESSAGES_TO_STDERR"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path()); // not our settings
    korvane.setProcessEnvironment(environment);
    korvane.start(QStringLiteral(KORVANE_APP_PATH), {QStringLiteral("-nosplash"), missing});
    ASSERT_TRUE(korvane.waitForFinished(30000)); // no window waits for the user
    EXPECT_EQ(korvane.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(korvane.exitCode(), 1);
    const QString error = QString::fromUtf8(korvane.readAllStandardError());
    EXPECT_TRUE(error.contains(QStringLiteral("korvane: Korvane: Korvane can't open \"") + missing +
                               QStringLiteral("\": the file does not exist.\n")))
        << error.toStdString();
}

TEST(StartupTest, HelpVersionAndBadUsageAreAnsweredWithoutAWindow) {
    struct Case {
        QStringList words;
        int exitCode;
        QString out;   // a line the standard output has
        QString error; // a line the error output has
    };
    const Case cases[] = {
        {{QStringLiteral("--version")}, 0, QStringLiteral("korvane 1.0\n"), QString()},
        {{QStringLiteral("-v")}, 0, QStringLiteral("korvane 1.0\n"), QString()},
        {{QStringLiteral("--help")},
         0,
         QStringLiteral("Usage: korvane [options] [file]\n"),
         QString()},
        {{QStringLiteral("-h"), QStringLiteral("-nosplash")},
         0,
         QStringLiteral("  --nosplash     Starts without the splash picture.\n"),
         QString()},
        {{QStringLiteral("--bogus")},
         2,
         QString(),
         QStringLiteral("korvane: Unknown option 'bogus'.\n")},
        {{QStringLiteral("a.nes"), QStringLiteral("b.nes")},
         2,
         QString(),
         QStringLiteral("korvane: one cartridge file at most\n")},
    };
    for (const Case& c : cases) {
        QProcess korvane;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // No screen at all: these answers need none.
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        korvane.setProcessEnvironment(environment);
        korvane.start(QStringLiteral(KORVANE_APP_PATH), c.words);
        ASSERT_TRUE(korvane.waitForFinished(30000));
        const QString out = QString::fromUtf8(korvane.readAllStandardOutput());
        const QString error = QString::fromUtf8(korvane.readAllStandardError());
        EXPECT_EQ(korvane.exitCode(), c.exitCode) << c.words.join(u' ').toStdString();
        if (c.out.isEmpty()) {
            EXPECT_TRUE(out.isEmpty()) << out.toStdString();
        } else {
            EXPECT_TRUE(out.startsWith(c.out) || out.contains(c.out)) << out.toStdString();
        }
        if (!c.error.isEmpty()) {
            EXPECT_TRUE(error.startsWith(c.error)) << error.toStdString();
        }
    }
}

TEST(StartupTest, AnEmptyDocumentShowsNoLevelNameAndTheDefaultHighlight) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CKorvaneView& view = fixture.app().mainFrame()->view();
    EXPECT_TRUE(view.levelName().text().isEmpty());
    EXPECT_EQ(view.highlights().currentText(), QStringLiteral("No shading"));
    EXPECT_EQ(view.preview().renderer().highlight(), -1);
    EXPECT_TRUE(view.undecodedBytes().text().isEmpty());

    // Once a cartridge is open the name shows.
    fixture.prompt.openAnswers = {fixture.WriteCartridge(QStringLiteral("demo.nes"))};
    ASSERT_TRUE(fixture.app().mainFrame()->FileOpen());
    EXPECT_EQ(view.levelName().text(), QStringLiteral("Spindle Keep"));
    EXPECT_EQ(view.highlights().currentText(), QStringLiteral("No shading"));
}

TEST(StartupTest, CommandLineOptionsAndFile) {
    const CommandLine plain = ParseCommandLine({QStringLiteral("korvane")});
    EXPECT_TRUE(plain.showSplash);
    EXPECT_TRUE(plain.fileName.isEmpty());
    const CommandLine both =
        ParseCommandLine({QStringLiteral("korvane"), QStringLiteral("/tmp/a.nes"),
                          QStringLiteral("-NoSplash"), QStringLiteral("b.nes")});
    EXPECT_FALSE(both.showSplash);
    EXPECT_EQ(both.fileName, QStringLiteral("/tmp/a.nes"));
    EXPECT_FALSE(
        ParseCommandLine({QStringLiteral("korvane"), QStringLiteral("--nosplash")}).showSplash);
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("korvane"), QStringLiteral("-other")}).showSplash);
}

} // namespace
} // namespace korvane::test
