#include "RecoveryStore.h"

#include "gamedata/AtomicFileWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <span>

namespace korvane {

RecoveryStore::RecoveryStore(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)),
      id_(QStringLiteral("korvane-%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))) {
    timer_.setSingleShot(true);
    timer_.setInterval(seconds_ * 1000);
    connect(&timer_, &QTimer::timeout, this, [this] {
        WriteNow();
        if (watching_ && seconds_ != 0 && lock_) {
            timer_.start();
        }
    });
}

RecoveryStore::~RecoveryStore() {
    Remove();
    if (lock_) {
        lock_->unlock();
    }
}

bool RecoveryStore::Start() {
    if (lock_) {
        return true;
    }
    if (!QDir().mkpath(folder_.path())) {
        return false;
    }
    // The user's work: for the user only.
    QFile::setPermissions(folder_.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    auto lock = std::make_unique<QLockFile>(QDir(folder_.path()).filePath(id_ + ".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return false;
    }
    lock_ = std::move(lock);
    return true;
}

QString RecoveryStore::copyPath() const {
    return QDir(folder_.path()).filePath(id_ + QStringLiteral(".nes"));
}

QString RecoveryStore::infoPath() const {
    return QDir(folder_.path()).filePath(id_ + QStringLiteral(".json"));
}

void RecoveryStore::SetIntervalSeconds(int seconds) {
    seconds_ = seconds <= 0 ? 0 : std::clamp(seconds, kLeastRecoverySeconds, kMostRecoverySeconds);
    if (seconds_ == 0) {
        timer_.stop();
    } else {
        timer_.setInterval(seconds_ * 1000);
    }
}

void RecoveryStore::SetIntervalMsForTesting(int milliseconds) {
    seconds_ = 1;
    timer_.setInterval(milliseconds);
}

void RecoveryStore::Changed() {
    // The first change since the last copy starts the wait; later ones ride along with it.
    if (seconds_ != 0 && lock_ && !timer_.isActive()) {
        timer_.start();
    }
}

bool RecoveryStore::WriteNow() {
    timer_.stop();
    const std::optional<RecoverySnapshot> snapshot =
        source_ ? source_() : std::optional<RecoverySnapshot>();
    if (!snapshot) {
        Remove();
        return false;
    }
    if (!lock_) {
        return false;
    }
    return Write(*snapshot);
}

void RecoveryStore::SetWatching(bool watching) {
    watching_ = watching;
    if (watching_) {
        Changed();
    }
}

bool RecoveryStore::Write(const RecoverySnapshot& snapshot) {
    if (hasCopy_ && snapshot.content == written_ && snapshot.editor == writtenEditor_) {
        return true; // the copy there already holds it
    }
    const auto fail = [this](const std::string& message) {
        // Reported once; the next change tries again, with no timer going round meanwhile.
        if (!failureReported_) {
            failureReported_ = true;
            emit writeFailed(QString::fromStdString(message));
        }
        return false;
    };
    AtomicFileWriter copy(copyPath().toStdString(), AtomicFileWriter::Target::NewOrExisting);
    copy.FailAfterBytesForTesting(failAfterBytes_);
    if (!copy.Write({std::span<const std::uint8_t>(snapshot.content)})) {
        return fail(copy.message());
    }

    QJsonObject info;
    const QString original = QString::fromStdString(snapshot.originalPath);
    info.insert(QStringLiteral("originalPath"), original);
    if (!original.isEmpty()) {
        const QFileInfo file(original);
        info.insert(QStringLiteral("originalSize"), file.size());
        info.insert(QStringLiteral("originalModified"), file.lastModified().toMSecsSinceEpoch());
    }
    info.insert(QStringLiteral("copiedAt"),
                QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
    info.insert(QStringLiteral("step"), snapshot.step);
    info.insert(QStringLiteral("stepText"), snapshot.stepText);
    info.insert(QStringLiteral("editor"), snapshot.editor);
    info.insert(QStringLiteral("size"), static_cast<qint64>(snapshot.content.size()));
    const QByteArray json = QJsonDocument(info).toJson();
    AtomicFileWriter description(infoPath().toStdString(), AtomicFileWriter::Target::NewOrExisting);
    description.FailAfterBytesForTesting(failAfterBytes_);
    if (!description.Write(
            {std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(json.constData()),
                                           static_cast<std::size_t>(json.size()))})) {
        QFile::remove(copyPath());
        hasCopy_ = false;
        return fail(description.message());
    }
    hasCopy_ = true;
    written_ = snapshot.content;
    writtenEditor_ = snapshot.editor;
    failureReported_ = false;
    ++writes_;
    return true;
}

void RecoveryStore::Remove() {
    timer_.stop();
    if (hasCopy_) {
        QFile::remove(infoPath());
        QFile::remove(copyPath());
        hasCopy_ = false;
    }
    written_.clear();
}

} // namespace korvane
