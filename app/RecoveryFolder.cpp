#include "RecoveryFolder.h"

#include "editors/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>

namespace korvane {

RecoveryFolder::RecoveryFolder(QString folder)
    : path_(folder.isEmpty() ? DefaultPath() : std::move(folder)) {}

QString RecoveryFolder::DefaultPath() {
    // The window's AppLocalDataLocation, spelt out so that korvane-cli, under another program
    // name, finds the same folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + QString::fromLatin1(kSettingsOrganisation) + QLatin1Char('/') +
           QString::fromLatin1(kSettingsApplication) + QStringLiteral("/recovery");
}

std::vector<RecoveryCopy> RecoveryFolder::List() const {
    std::vector<RecoveryCopy> copies;
    const QDir dir(path_);
    const QStringList infos =
        dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : infos) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly) || file.size() > 65536) {
            continue;
        }
        const QJsonDocument json = QJsonDocument::fromJson(file.readAll());
        if (!json.isObject()) {
            continue;
        }
        const QJsonObject info = json.object();
        RecoveryCopy copy;
        copy.id = QFileInfo(name).completeBaseName();
        copy.infoPath = dir.filePath(name);
        copy.copyPath = dir.filePath(copy.id + QStringLiteral(".nes"));
        copy.lockPath = dir.filePath(copy.id + QStringLiteral(".lock"));
        if (!QFileInfo(copy.copyPath).isFile()) {
            continue;
        }
        copy.originalPath = info.value(QStringLiteral("originalPath")).toString();
        copy.originalSize = info.value(QStringLiteral("originalSize")).toInteger(-1);
        copy.originalModifiedMs = info.value(QStringLiteral("originalModified")).toInteger(-1);
        copy.copiedAt = QDateTime::fromString(info.value(QStringLiteral("copiedAt")).toString(),
                                              Qt::ISODateWithMs);
        copy.step = info.value(QStringLiteral("step")).toInt();
        copy.stepText = info.value(QStringLiteral("stepText")).toString();
        copy.editor = info.value(QStringLiteral("editor")).toString();
        QLockFile lock(copy.lockPath);
        lock.setStaleLockTime(0);
        copy.owned = !lock.tryLock(0);
        copies.push_back(copy);
    }
    std::sort(copies.begin(), copies.end(),
              [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.copiedAt < b.copiedAt; });
    return copies;
}

std::vector<RecoveryCopy> RecoveryFolder::Unowned() const {
    std::vector<RecoveryCopy> copies = List();
    std::erase_if(copies, [](const RecoveryCopy& copy) { return copy.owned; });
    return copies;
}

std::optional<std::vector<std::uint8_t>> RecoveryFolder::ReadContent(const RecoveryCopy& copy,
                                                                     QString& error) {
    QFile file(copy.copyPath);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

OriginalState RecoveryFolder::StateOf(const RecoveryCopy& copy) {
    if (copy.originalPath.isEmpty()) {
        return OriginalState::Untitled;
    }
    const QFileInfo original(copy.originalPath);
    if (!original.exists() || !original.isFile()) {
        return OriginalState::Gone;
    }
    if (original.size() != copy.originalSize ||
        original.lastModified().toMSecsSinceEpoch() != copy.originalModifiedMs) {
        return OriginalState::Changed;
    }
    return OriginalState::Unchanged;
}

void RecoveryFolder::Remove(const RecoveryCopy& copy) {
    QFile::remove(copy.copyPath);
    QFile::remove(copy.infoPath);
    QLockFile lock(copy.lockPath);
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
    }
}

QString RecoveryFolder::OriginalName(const RecoveryCopy& copy) {
    return copy.originalPath.isEmpty() ? QStringLiteral("Untitled")
                                       : QFileInfo(copy.originalPath).fileName();
}

} // namespace korvane
