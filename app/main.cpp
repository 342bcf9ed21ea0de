#include "CKorvaneApp.h"
#include "CMessageBoxReporter.h"
#include "RecentFileList.h"
#include "ResourceImages.h"
#include "UserPrompt.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(korvane::kSettingsOrganisation));
    QApplication::setApplicationName(QString::fromLatin1(korvane::kSettingsApplication));
    QApplication::setDesktopFileName(QStringLiteral("korvane"));
    QApplication::setWindowIcon(korvane::ApplicationIcon());

    korvane::CMessageBoxReporter reporter;
    korvane::DialogPrompt prompt;
    korvane::CKorvaneApp korvaneApp(reporter, prompt);
    if (!korvaneApp.InitInstance(QApplication::arguments())) {
        return 1;
    }
    return QApplication::exec();
}
