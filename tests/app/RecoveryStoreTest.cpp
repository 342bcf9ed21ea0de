// The recovery writer on its own: when it copies, what it writes, what removes the copy, a
// full disk, and two running programs side by side.
#include "app/RecoveryStore.h"
#include "app/RecoveryFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class RecoveryStoreTest : public ::testing::Test {
protected:
    RecoveryStoreTest() {
        snapshot.content = {0x4E, 0x45, 0x53, 0x1A, 0x10, 0x00, 0xFF};
        snapshot.originalPath = original.filePath("game.nes").toStdString();
        snapshot.step = 3;
        snapshot.stepText = QStringLiteral("Level Properties");
        QFile file(original.filePath("game.nes"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("12345");
    }
    // A store whose source gives the snapshot while unsaved is set.
    std::unique_ptr<RecoveryStore> MakeStore() {
        auto store = std::make_unique<RecoveryStore>(folder.path());
        EXPECT_TRUE(store->Start());
        store->SetSource([this]() -> std::optional<RecoverySnapshot> {
            if (!unsaved) {
                return std::nullopt;
            }
            return snapshot;
        });
        return store;
    }

    QTemporaryDir folder;
    QTemporaryDir original;
    RecoverySnapshot snapshot;
    bool unsaved = true;
};

TEST_F(RecoveryStoreTest, CopiesOnceAnIntervalAfterAChangeWithItsDescription) {
    auto store = MakeStore();
    store->SetIntervalMsForTesting(150);
    store->Changed();
    store->Changed();
    EXPECT_TRUE(store->pending());
    EXPECT_FALSE(QFile::exists(store->copyPath())); // not before the interval
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(store->copyPath()); }, 3000));
    QTest::qWait(400);
    EXPECT_EQ(store->writes(), 1); // two changes, one copy
    EXPECT_FALSE(store->pending());

    EXPECT_EQ(ReadAll(store->copyPath()), QByteArray("\x4E\x45\x53\x1A\x10\x00\xFF", 7));
    const QJsonObject info = QJsonDocument::fromJson(ReadAll(store->infoPath())).object();
    EXPECT_EQ(info.value("originalPath").toString(), original.filePath("game.nes"));
    EXPECT_EQ(info.value("originalSize").toInteger(), 5);
    EXPECT_EQ(info.value("step").toInt(), 3);
    EXPECT_EQ(info.value("stepText").toString(), QStringLiteral("Level Properties"));
    const QDateTime copiedAt =
        QDateTime::fromString(info.value("copiedAt").toString(), Qt::ISODateWithMs);
    ASSERT_TRUE(copiedAt.isValid());
    EXPECT_LE(qAbs(copiedAt.secsTo(QDateTime::currentDateTime())), 5);

    // The folder holds the copy, its description and the lock, and nothing else.
    EXPECT_EQ(FilesIn(folder.path()),
              QStringList({store->id() + ".json", store->id() + ".lock", store->id() + ".nes"}));
    // The original file is never touched.
    EXPECT_EQ(ReadAll(original.filePath("game.nes")), QByteArray("12345"));
}

TEST_F(RecoveryStoreTest, WatchingAnOpenEditorLooksAgainEveryIntervalAndWritesOnlyNewWork) {
    auto store = MakeStore();
    store->SetIntervalMsForTesting(40);
    store->SetWatching(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return store->writes() == 1; }, 3000));
    QTest::qWait(300); // several intervals with the same work: no new write
    EXPECT_EQ(store->writes(), 1);
    EXPECT_TRUE(store->pending());
    snapshot.content.back() = 0x01;
    snapshot.editor = QStringLiteral("Tile Editor");
    ASSERT_TRUE(QTest::qWaitFor([&] { return store->writes() == 2; }, 3000));
    EXPECT_EQ(ReadAll(store->copyPath()).back(), '\x01');
    EXPECT_EQ(QJsonDocument::fromJson(ReadAll(store->infoPath())).object().value("editor"),
              QStringLiteral("Tile Editor"));
    store->SetWatching(false);
    QTest::qWait(200);
    EXPECT_FALSE(store->pending());
    EXPECT_EQ(store->writes(), 2);
}

TEST_F(RecoveryStoreTest, IntervalKeepsItsBoundsAndOffMakesNoTimedCopies) {
    RecoveryStore store(folder.path());
    EXPECT_EQ(store.intervalSeconds(), 30);
    store.SetIntervalSeconds(5);
    EXPECT_EQ(store.intervalSeconds(), 10);
    store.SetIntervalSeconds(601);
    EXPECT_EQ(store.intervalSeconds(), 600);
    store.SetIntervalSeconds(45);
    EXPECT_EQ(store.intervalSeconds(), 45);

    auto running = MakeStore();
    running->SetIntervalSeconds(0);
    running->Changed();
    EXPECT_FALSE(running->pending());
    // An editor's OK still copies.
    EXPECT_TRUE(running->WriteNow());
    EXPECT_TRUE(QFile::exists(running->copyPath()));
}

TEST_F(RecoveryStoreTest, NothingUnsavedRemovedAndCleanEndLeaveNoCopy) {
    auto store = MakeStore();
    ASSERT_TRUE(store->WriteNow());
    ASSERT_TRUE(QFile::exists(store->copyPath()));
    // The document went back to its saved state: the next copy is none.
    unsaved = false;
    EXPECT_FALSE(store->WriteNow());
    EXPECT_FALSE(QFile::exists(store->copyPath()));
    EXPECT_FALSE(QFile::exists(store->infoPath()));

    unsaved = true;
    ASSERT_TRUE(store->WriteNow());
    store->SetIntervalMsForTesting(100);
    store->Changed();
    store->Remove(); // Save, Save As, Discard
    EXPECT_FALSE(store->pending());
    EXPECT_FALSE(QFile::exists(store->copyPath()));
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(store->copyPath())); // nothing came back with the timer

    ASSERT_TRUE(store->WriteNow());
    store.reset(); // a clean exit
    EXPECT_EQ(FilesIn(folder.path()), QStringList());
}

TEST_F(RecoveryStoreTest, FullDiskIsReportedOnceAndNotRetriedInALoop) {
    auto store = MakeStore();
    store->SetIntervalMsForTesting(50);
    store->FailWritesAfterBytesForTesting(3);
    QSignalSpy failures(store.get(), &RecoveryStore::writeFailed);
    store->Changed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures.count() > 0; }, 3000));
    EXPECT_FALSE(store->pending());
    QTest::qWait(300); // six intervals: no timer goes round again
    EXPECT_EQ(failures.count(), 1);
    EXPECT_FALSE(store->pending());
    // No half-written copy nor temporary file is left behind.
    EXPECT_EQ(FilesIn(folder.path()), QStringList({store->id() + ".lock"}));
    EXPECT_FALSE(failures.at(0).at(0).toString().isEmpty());

    // The next change tries once more, quietly.
    store->Changed();
    QTest::qWait(300);
    EXPECT_EQ(failures.count(), 1);
    EXPECT_EQ(store->writes(), 0);

    // Room again: the copy is written.
    store->FailWritesAfterBytesForTesting(-1);
    EXPECT_TRUE(store->WriteNow());
    EXPECT_EQ(ReadAll(store->copyPath()).size(), 7);
}

TEST_F(RecoveryStoreTest, TwoRunningProgramsDoNotTakeEachOthersCopies) {
    auto first = MakeStore();
    auto second = MakeStore();
    ASSERT_NE(first->id(), second->id());
    ASSERT_TRUE(first->WriteNow());
    ASSERT_TRUE(second->WriteNow());

    const std::vector<RecoveryCopy> listed = RecoveryFolder(folder.path()).List();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(listed[0].owned);
    EXPECT_TRUE(listed[1].owned);
    EXPECT_TRUE(RecoveryFolder(folder.path()).Unowned().empty());

    // A copy left by a program that is gone (no lock any more) is offered; the running
    // programs' copies are not.
    QFile::copy(first->copyPath(), folder.filePath("korvane-crashed.nes"));
    QFile::copy(first->infoPath(), folder.filePath("korvane-crashed.json"));
    const std::vector<RecoveryCopy> unowned = RecoveryFolder(folder.path()).Unowned();
    ASSERT_EQ(unowned.size(), 1u);
    EXPECT_EQ(unowned[0].id, QStringLiteral("korvane-crashed"));
    EXPECT_EQ(RecoveryFolder::StateOf(unowned[0]), OriginalState::Unchanged);

    // One program's end removes its own copy only.
    first.reset();
    EXPECT_TRUE(QFile::exists(second->copyPath()));
    EXPECT_TRUE(QFile::exists(folder.filePath("korvane-crashed.nes")));
}

TEST_F(RecoveryStoreTest, OriginalChangedOrGoneIsSeen) {
    auto store = MakeStore();
    ASSERT_TRUE(store->WriteNow());
    RecoveryCopy copy = RecoveryFolder(folder.path()).List().at(0);
    EXPECT_EQ(RecoveryFolder::StateOf(copy), OriginalState::Unchanged);
    EXPECT_EQ(RecoveryFolder::OriginalName(copy), QStringLiteral("game.nes"));
    {
        QFile file(original.filePath("game.nes"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("6");
    }
    EXPECT_EQ(RecoveryFolder::StateOf(copy), OriginalState::Changed);
    QFile::remove(original.filePath("game.nes"));
    EXPECT_EQ(RecoveryFolder::StateOf(copy), OriginalState::Gone);
    copy.originalPath.clear();
    EXPECT_EQ(RecoveryFolder::StateOf(copy), OriginalState::Untitled);
    EXPECT_EQ(RecoveryFolder::OriginalName(copy), QStringLiteral("Untitled"));
}

} // namespace
} // namespace korvane
