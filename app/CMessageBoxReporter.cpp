#include "CMessageBoxReporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>

namespace korvane {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void CMessageBoxReporter::ShowMessage(MessageIcon icon, const std::string& title,
                                      const std::string& text) {
    if (qEnvironmentVariableIntValue("KORVANE_MESSAGES_TO_STDERR") == 1) {
        std::fprintf(stderr, "korvane: %s: %s\n", title.c_str(), text.c_str());
        std::fflush(stderr);
        return;
    }
    QMessageBox box(BoxIcon(icon),
                    title.empty() ? QStringLiteral("Korvane") : QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void CMessageBoxReporter::RequestQuit(int exitCode) {
    QMetaObject::invokeMethod(
        qApp, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

} // namespace korvane
