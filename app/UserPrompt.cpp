#include "UserPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace korvane {

namespace {

SaveChoice TakeFront(std::vector<SaveChoice>& queue) {
    if (queue.empty()) {
        return SaveChoice::Cancel;
    }
    const SaveChoice front = queue.front();
    queue.erase(queue.begin());
    return front;
}

std::optional<QString> TakeFront(QStringList& queue) {
    if (queue.isEmpty()) {
        return std::nullopt;
    }
    const QString front = queue.takeFirst();
    if (front.isEmpty()) {
        return std::nullopt;
    }
    return front;
}

} // namespace

SaveChoice DialogPrompt::AskSaveChanges(const QString& fileName) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Korvane"),
                    QStringLiteral("Save changes to %1?").arg(fileName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

std::optional<QString> DialogPrompt::AskOpenFileName() {
    const QString path =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"),
                                     QString(), QString::fromLatin1(kCartridgeFilter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> DialogPrompt::AskSaveFileName() {
    const QString path = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), QStringLiteral("Save As"), QString(),
        QString::fromLatin1(kCartridgeFilter), nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

SaveChoice RecordingPrompt::AskSaveChanges(const QString& fileName) {
    saveQuestions.push_back(QStringLiteral("Save changes to %1?").arg(fileName));
    return TakeFront(saveAnswers);
}

std::optional<QString> RecordingPrompt::AskOpenFileName() {
    ++openQuestions;
    return TakeFront(openAnswers);
}

std::optional<QString> RecordingPrompt::AskSaveFileName() {
    return TakeFront(saveNameAnswers);
}

} // namespace korvane
