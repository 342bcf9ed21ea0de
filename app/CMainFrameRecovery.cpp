// The main frame's recovery copies: what goes into them while the document has unsaved
// changes, and offering them back after a crash.
#include "CMainFrame.h"

#include "CKorvaneView.h"
#include "DocumentHistory.h"
#include "RecoveryFolder.h"
#include "RecoverySettings.h"
#include "RecoveryStore.h"
#include "UserPrompt.h"
#include "gamedata/CKorvaneDoc.h"
#include "tools/EditScript.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <algorithm>

namespace korvane {

namespace {

constexpr const char* kRecoverStep = "Recover unsaved work";

// "14:32" today, "2026-12-07 14:32" on another day.
QString CopyTime(const QDateTime& when) {
    if (!when.isValid()) {
        return QStringLiteral("an unknown time");
    }
    return when.toLocalTime().date() == QDate::currentDate()
               ? when.toLocalTime().toString(QStringLiteral("HH:mm"))
               : when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString RecoverQuestion(const RecoveryCopy& copy, OriginalState state) {
    QString question = QStringLiteral("Korvane found unsaved work on %1 from %2. Recover it?")
                           .arg(RecoveryFolder::OriginalName(copy), CopyTime(copy.copiedAt));
    if (!copy.editor.isEmpty()) {
        question += QStringLiteral("\nIt holds the work in the %1 that was open.").arg(copy.editor);
    }
    if (state == OriginalState::Changed) {
        question += QStringLiteral("\nThe file has changed on disk since then: the work opens "
                                   "as an untitled document.");
    } else if (state == OriginalState::Gone) {
        question += QStringLiteral("\nThe file is no longer there: the work opens as an untitled "
                                   "document.");
    }
    return question;
}

} // namespace

void CMainFrame::SetRecovery(RecoveryStore& store, RecoverySettings& settings) {
    recovery_ = &store;
    recoverySettings_ = &settings;
    store.SetIntervalSeconds(settings.intervalSeconds());
    store.SetSource([this]() -> std::optional<RecoverySnapshot> {
        if (!DocumentReady()) {
            return std::nullopt;
        }
        RecoverySnapshot snapshot;
        // An open editor's work counts as if OK had been pressed.
        if (const std::unique_ptr<GameData> edited = view_->ModelAsIfEditorOk(snapshot.editor)) {
            if (!document_.IsModified() && *edited == document_.gameData()) {
                return std::nullopt;
            }
            snapshot.content = document_.EncodedContentOf(*edited);
        } else if (document_.IsModified()) {
            snapshot.content = document_.EncodedContent();
        } else {
            return std::nullopt;
        }
        snapshot.originalPath = document_.PathName();
        snapshot.step = history_.index();
        snapshot.stepText = history_.undoText();
        return snapshot;
    });
    // Every step (and undo, redo) is a change; an editor's OK is copied at once, and the saved
    // state needs no copy.
    connect(&history_.stack(), &QUndoStack::indexChanged, &store, &RecoveryStore::Changed);
    connect(view_, &CKorvaneView::documentModified, &store, [&store] { store.WriteNow(); });
    connect(view_, &CKorvaneView::editorOpened, &store, [&store] { store.SetWatching(true); });
    // After Cancel the copy goes back to the document's own unsaved work (or goes).
    connect(view_, &CKorvaneView::editorClosed, &store, [&store] {
        store.SetWatching(false);
        store.WriteNow();
    });
    connect(&history_.stack(), &QUndoStack::cleanChanged, &store, [&store](bool clean) {
        if (clean) {
            store.Remove();
        }
    });
    connect(&store, &RecoveryStore::writeFailed, this, [this](const QString& message) {
        reporter_.ShowMessage(MessageIcon::Warning, "Korvane",
                              "Korvane can't keep a recovery copy of the unsaved work. " +
                                  message.toStdString());
    });
}

void CMainFrame::OfferRecovery() {
    if (recovery_ == nullptr) {
        return;
    }
    for (const RecoveryCopy& copy : recovery_->folder().Unowned()) {
        // Held while asking, so that a Korvane starting at the same time leaves it alone.
        QLockFile claim(copy.lockPath);
        claim.setStaleLockTime(0);
        if (!claim.tryLock(0)) {
            continue;
        }
        const OriginalState state = RecoveryFolder::StateOf(copy);
        switch (prompt_.AskRecover(RecoverQuestion(copy, state))) {
        case RecoverChoice::Recover:
            if (RecoverCopy(copy, state == OriginalState::Unchanged)) {
                RecoveryFolder::Remove(copy);
                recovery_->WriteNow();
            }
            break;
        case RecoverChoice::Discard:
            RecoveryFolder::Remove(copy);
            break;
        case RecoverChoice::Later:
            break;
        }
    }
}

bool CMainFrame::RecoverCopy(const RecoveryCopy& copy, bool onOriginal) {
    QString error;
    std::optional<std::vector<std::uint8_t>> content = RecoveryFolder::ReadContent(copy, error);
    if (!content) {
        ShowStop(CannotMessage("read the recovery copy",
                               QDir::toNativeSeparators(copy.copyPath).toStdString(),
                               error.toStdString()));
        return false;
    }
    if (content->size() < RomImage::size()) {
        ShowStop(CannotMessage("read the recovery copy",
                               QDir::toNativeSeparators(copy.copyPath).toStdString(),
                               "it is shorter than a cartridge image"));
        return false;
    }
    if (!SaveModified()) {
        return false;
    }
    if (onOriginal) {
        if (!OpenAfterAsking(copy.originalPath)) {
            return false;
        }
        auto image = std::make_unique<RomImage>();
        std::copy_n(content->begin(), RomImage::size(), image->bytes.begin());
        history_.Change(QString::fromLatin1(kRecoverStep),
                        [&image](GameData& model) { model.Decode(*image); });
        FileReplaced();
        return true;
    }
    // The original changed or is gone: the work as a new, untitled document whose clean
    // cartridge is the work itself.
    std::vector<std::uint8_t> clean = *content;
    std::optional<DocumentFile> file =
        document_.UntitledFile(std::move(*content), std::move(clean), copy.copyPath.toStdString());
    if (!file) {
        return false;
    }
    history_.ReplaceFile(QString::fromLatin1(kRecoverStep), std::move(*file));
    return true;
}

bool CMainFrame::RunTestEdit(const QString& scriptPath) {
    QFile file(scriptPath);
    if (!DocumentReady() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray text = file.readAll();
    const EditScript script =
        ParseEditScript(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (script.error) {
        return false;
    }
    const bool changed = history_.Change(QStringLiteral("Test edit"), [&script](GameData& model) {
        int level = 0;
        for (const EditOperation& operation : script.operations) {
            ApplyEditOperation(operation, model, level);
        }
    });
    if (changed) {
        FileReplaced();
        emit view_->documentModified();
    }
    return changed;
}

} // namespace korvane
