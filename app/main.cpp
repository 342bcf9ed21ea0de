#include "CKorvaneApp.h"
#include "CMessageBoxReporter.h"
#include "RecentFileList.h"
#include "ResourceImages.h"
#include "UserPrompt.h"

#include "korvane/KorvaneVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

// --help and --version, and bad usage, are answered before any window (or screen) is needed.
// The window's own words (-nosplash, the file) are read again by the application object.
std::optional<int> AnswerCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Korvane: a level editor for one NES game. It opens the game's iNES cartridge\n"
        "image (393,232 bytes), shows its 16 levels and edits their tiles, blocks,\n"
        "assemblies, rooms, hallways, enemy placements and palettes, and saves them\n"
        "back into the same file."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    const QCommandLineOption noSplash(QStringLiteral("nosplash"),
                                      QStringLiteral("Starts without the splash picture."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(noSplash);
    // Qt's own options, which the application object takes: accepted, not shown.
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "style",
                             "stylesheet", "session", "display", "geometry", "qwindowgeometry",
                             "qwindowtitle", "qwindowicon", "name", "title"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The cartridge image (.nes) to open."),
                                 QStringLiteral("[file]"));
    // The splash option is taken in any case, as it always was.
    QStringList words = arguments;
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i].compare(QStringLiteral("-nosplash"), Qt::CaseInsensitive) == 0 ||
            words[i].compare(QStringLiteral("--nosplash"), Qt::CaseInsensitive) == 0) {
            words[i] = QStringLiteral("--nosplash");
        }
    }
    // No application object yet, so the parser cannot know the program's name.
    const QString helpText =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("korvane"));
    if (!parser.parse(words)) {
        std::fprintf(stderr, "korvane: %s\n%s", qPrintable(parser.errorText()),
                     qPrintable(helpText));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(helpText), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("korvane %s\n", korvane::kVersion);
        return 0;
    }
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "korvane: one cartridge file at most\n%s", qPrintable(helpText));
        return 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(korvane::kVersion));
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    if (const std::optional<int> answered = AnswerCommandLine(arguments)) {
        return *answered;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(korvane::kSettingsOrganisation));
    QApplication::setApplicationName(QString::fromLatin1(korvane::kSettingsApplication));
    QApplication::setApplicationVersion(QString::fromLatin1(korvane::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("io.github.korvane.Korvane"));
    QApplication::setWindowIcon(korvane::ApplicationIcon());

    korvane::CMessageBoxReporter reporter;
    korvane::DialogPrompt prompt;
    korvane::CKorvaneApp korvaneApp(reporter, prompt);
    if (!korvaneApp.InitInstance(QApplication::arguments())) {
        return 1;
    }
    return QApplication::exec();
}
