#include "RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace korvane {

namespace {

constexpr const char* kGroup = "Recent File List";

QString Key(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

QString Canonical(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.absoluteFilePath() : path;
}

} // namespace

RecentFileList::RecentFileList(const QString& settingsFile, int capacity)
    : settings_(OpenUserSettings(settingsFile)), capacity_(capacity) {
    Load();
}

RecentFileList::~RecentFileList() = default;

void RecentFileList::Add(const QString& path) {
    const QString entry = Canonical(path);
    entries_.removeAll(entry);
    entries_.prepend(entry);
    while (entries_.size() > capacity_) {
        entries_.removeLast();
    }
    Store();
}

void RecentFileList::Remove(const QString& path) {
    if (entries_.removeAll(path) > 0 || entries_.removeAll(Canonical(path)) > 0) {
        Store();
    }
}

void RecentFileList::Load() {
    entries_.clear();
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (int i = 0; i < capacity_; ++i) {
        const QString path = settings_->value(Key(i)).toString();
        if (!path.isEmpty() && !entries_.contains(path)) {
            entries_.append(path);
        }
    }
    settings_->endGroup();
}

void RecentFileList::Store() {
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (int i = 0; i < capacity_; ++i) {
        if (i < entries_.size()) {
            settings_->setValue(Key(i), entries_.at(i));
        } else {
            settings_->remove(Key(i));
        }
    }
    settings_->endGroup();
    settings_->sync();
}

} // namespace korvane
