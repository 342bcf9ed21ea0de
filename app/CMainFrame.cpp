#include "CMainFrame.h"

#include "CKorvaneView.h"
#include "CommandIds.h"
#include "DocumentHistory.h"
#include "RecentFileList.h"
#include "RecoveryStore.h"
#include "UserPrompt.h"
#include "WindowShortcutKeys.h"
#include "gamedata/CKorvaneDoc.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace korvane {

const std::vector<Accelerator>& AcceleratorTable() {
    static const std::vector<Accelerator> table{
        {QKeySequence(Qt::CTRL | Qt::Key_N), cmd::kFileNew},
        {QKeySequence(Qt::CTRL | Qt::Key_O), cmd::kFileOpen},
        {QKeySequence(Qt::CTRL | Qt::Key_S), cmd::kFileSave},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), cmd::kEditUndo},
        {QKeySequence(Qt::CTRL | Qt::Key_X), cmd::kEditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_C), cmd::kEditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), cmd::kEditPaste},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), cmd::kEditUndo},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), cmd::kEditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), cmd::kEditCopy},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), cmd::kEditPaste},
        {QKeySequence(Qt::Key_F6), cmd::kNextPane},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), cmd::kPrevPane},
    };
    return table;
}

namespace {

// The platform's keys for a standard command, or the usual ones where it has none.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const QKeySequence& usual) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty()) {
        keys.append(usual);
    }
    return keys;
}

} // namespace

CMainFrame::CMainFrame(CKorvaneDoc& document, DocumentHistory& history, DisplayContext& display,
                       EditorRegistry& editors, UserReporter& reporter, UserPrompt& prompt,
                       RecentFileList& recentFiles, QWidget* parent)
    : QMainWindow(parent), document_(document), history_(history), reporter_(reporter),
      prompt_(prompt), recentFiles_(recentFiles) {
    QAction* open = MakeAction(cmd::kFileOpen, QStringLiteral("&Open..."));
    QAction* save = MakeAction(cmd::kFileSave, QStringLiteral("&Save"));
    QAction* saveAs = MakeAction(cmd::kFileSaveAs, QStringLiteral("Save &As..."));
    QAction* createPatch = MakeAction(cmd::kFileCreatePatch, QStringLiteral("Create &Patch..."));
    QAction* applyPatch = MakeAction(cmd::kFileApplyPatch, QStringLiteral("Appl&y Patch..."));
    QAction* exportPicture =
        MakeAction(cmd::kFileExportPicture, QStringLiteral("Export Pic&ture..."));
    QAction* exportLevel = MakeAction(cmd::kFileExportLevel, QStringLiteral("Export &Level..."));
    QAction* importLevel = MakeAction(cmd::kFileImportLevel, QStringLiteral("&Import Level..."));
    QAction* changes = MakeAction(cmd::kFileChanges, QStringLiteral("C&hanges..."));
    QAction* exit = MakeAction(cmd::kAppExit, QStringLiteral("E&xit"));
    QAction* about = MakeAction(cmd::kAppAbout, QStringLiteral("&About Korvane..."));
    QAction* fileNew = MakeAction(cmd::kFileNew, QStringLiteral("&New"));
    QAction* undo = MakeAction(cmd::kEditUndo, QStringLiteral("&Undo"));
    QAction* redo = MakeAction(cmd::kEditRedo, QStringLiteral("&Redo"));
    QAction* play = MakeAction(cmd::kToolsPlay, QStringLiteral("&Play in Emulator"));
    QAction* preferences = MakeAction(cmd::kEditPreferences, QStringLiteral("&Preferences..."));
    for (int inert :
         {cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste, cmd::kNextPane, cmd::kPrevPane}) {
        MakeAction(inert, QString())->setEnabled(false);
    }
    saveAs->setShortcuts(
        StandardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    undo->setShortcuts(StandardKeys(QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
    redo->setShortcuts(
        StandardKeys(QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    for (const Accelerator& accelerator : AcceleratorTable()) {
        QAction* target = action(accelerator.commandId);
        QList<QKeySequence> keys = target->shortcuts();
        if (!keys.contains(accelerator.keys)) {
            keys.append(accelerator.keys);
        }
        target->setShortcuts(keys);
        addAction(target);
    }
    addAction(saveAs);
    addAction(redo);
    play->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(play);
    preferences->setShortcuts(QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    addAction(preferences);
    // Undo and Redo reach the document's history also from the number fields.
    new WindowShortcutKeys(*this, {undo, redo});

    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->addAction(fileNew);
    fileMenu_->addAction(open);
    fileMenu_->addAction(save);
    fileMenu_->addAction(saveAs);
    fileMenu_->addSeparator();
    fileMenu_->addAction(createPatch);
    fileMenu_->addAction(applyPatch);
    fileMenu_->addAction(exportPicture);
    fileMenu_->addAction(exportLevel);
    fileMenu_->addAction(importLevel);
    fileMenu_->addAction(changes);
    fileMenu_->addSeparator();
    recentEnd_ = fileMenu_->addSeparator();
    fileMenu_->addAction(exit);
    editMenu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu_->addAction(undo);
    editMenu_->addAction(redo);
    editMenu_->addSeparator();
    editMenu_->addAction(preferences);
    toolsMenu_ = menuBar()->addMenu(QStringLiteral("&Tools"));
    toolsMenu_->addAction(play);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(about);

    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(ctl::ControlName(cmd::kToolBar));
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);

    statusBar()->showMessage(QString::fromLatin1(cmd::kIdlePrompt));
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) {
            statusBar()->showMessage(QString::fromLatin1(cmd::kIdlePrompt));
        }
    });

    view_ = new CKorvaneView(document_, history_, display, editors, reporter, this);
    view_->SetToolbar({toolBar_, open, save, about, play});
    setCentralWidget(view_);
    connect(view_, &CKorvaneView::documentModified, this, &CMainFrame::UpdateTitle);

    connect(fileNew, &QAction::triggered, this, [this] { FileNew(); });
    connect(open, &QAction::triggered, this, [this] { FileOpen(); });
    connect(save, &QAction::triggered, this, [this] { FileSave(); });
    connect(saveAs, &QAction::triggered, this, [this] { FileSaveAs(); });
    connect(createPatch, &QAction::triggered, this, [this] { CreatePatch(); });
    connect(applyPatch, &QAction::triggered, this, [this] { ApplyPatch(); });
    connect(exportPicture, &QAction::triggered, this, [this] { ExportPicture(); });
    connect(play, &QAction::triggered, this, [this] { PlayInEmulator(); });
    connect(preferences, &QAction::triggered, this, [this] { EditPreferences(); });
    connect(exportLevel, &QAction::triggered, this, [this] { ExportLevel(); });
    connect(importLevel, &QAction::triggered, this, [this] { ImportLevel(); });
    connect(changes, &QAction::triggered, this, [this] { ShowChanges(); });
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(about, &QAction::triggered, view_, &CKorvaneView::OpenAbout);
    connect(undo, &QAction::triggered, &history_, &DocumentHistory::Undo);
    connect(redo, &QAction::triggered, &history_, &DocumentHistory::Redo);

    QUndoStack& steps = history_.stack();
    connect(&steps, &QUndoStack::indexChanged, this, &CMainFrame::UpdateCommands);
    connect(&steps, &QUndoStack::cleanChanged, this, &CMainFrame::UpdateCommands);
    connect(&history_, &DocumentHistory::modifiedChanged, this, &CMainFrame::UpdateTitle);
    connect(&history_, &DocumentHistory::fileReplaced, this, &CMainFrame::FileReplaced);

    RebuildRecentFileMenu();
    UpdateTitle();
    UpdateCommands();
}

QAction* CMainFrame::MakeAction(int commandId, const QString& text) {
    auto* created = new QAction(text, this);
    created->setObjectName(QStringLiteral("cmd%1").arg(commandId));
    created->setData(commandId);
    created->setStatusTip(cmd::StatusPrompt(commandId));
    created->setToolTip(cmd::ToolTip(commandId).isEmpty() ? text : cmd::ToolTip(commandId));
    created->setShortcutContext(Qt::WindowShortcut);
    actions_[commandId] = created;
    return created;
}

QAction* CMainFrame::action(int commandId) const {
    const auto found = actions_.find(commandId);
    if (found != actions_.end()) {
        return found->second;
    }
    return view_ != nullptr ? view_->editorAction(commandId) : nullptr;
}

bool CMainFrame::DocumentReady() const {
    return document_.fileLoaded() && document_.decoded();
}

void CMainFrame::UpdateCommands() {
    const bool ready = DocumentReady();
    for (int commandId : {cmd::kFileSaveAs, cmd::kFileCreatePatch, cmd::kFileExportPicture,
                          cmd::kFileExportLevel, cmd::kFileImportLevel, cmd::kFileChanges}) {
        action(commandId)->setEnabled(ready);
    }
    action(cmd::kToolsPlay)->setEnabled(ready && launcher_ != nullptr);
    action(cmd::kEditPreferences)->setEnabled(emulatorSettings_ != nullptr);
    const auto name = [](QAction* command, const QString& verb, const QString& step) {
        const QString text = step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
        command->setText(QLatin1Char('&') + text);
        command->setToolTip(text);
    };
    QAction* undo = action(cmd::kEditUndo);
    undo->setEnabled(history_.canUndo());
    name(undo, QStringLiteral("Undo"), history_.undoText());
    QAction* redo = action(cmd::kEditRedo);
    redo->setEnabled(history_.canRedo());
    name(redo, QStringLiteral("Redo"), history_.redoText());
}

void CMainFrame::FileReplaced() {
    view_->InitialUpdate();
    UpdateTitle();
    UpdateCommands();
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(QString::fromStdString(document_.Title()) + QStringLiteral("[*] - Korvane"));
    setWindowModified(document_.IsModified());
}

bool CMainFrame::SaveModified() {
    if (!document_.IsModified()) {
        return true;
    }
    const QString name =
        document_.PathName().empty()
            ? QString::fromStdString(document_.Title())
            : QDir::toNativeSeparators(QString::fromStdString(document_.PathName()));
    switch (prompt_.AskSaveChanges(name)) {
    case SaveChoice::Save:
        return FileSave();
    case SaveChoice::Discard:
        if (recovery_ != nullptr) {
            recovery_->Remove();
        }
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool CMainFrame::FileNew() {
    if (!SaveModified()) {
        return false;
    }
    document_.OnNewDocument();
    history_.Clear();
    view_->InitialUpdate();
    UpdateTitle();
    UpdateCommands();
    return true;
}

bool CMainFrame::FileOpen() {
    const std::optional<QString> path = AskOpenPath();
    if (!path) {
        return false;
    }
    return OpenDocumentFile(*path);
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    if (!SaveModified()) {
        return false;
    }
    return OpenAfterAsking(path);
}

bool CMainFrame::OpenAfterAsking(const QString& path) {
    if (!document_.OnOpenDocument(path.toStdString())) {
        UpdateTitle();
        return false;
    }
    history_.Clear();
    recentFiles_.Add(path);
    RebuildRecentFileMenu();
    view_->InitialUpdate();
    UpdateTitle();
    UpdateCommands();
    return true;
}

bool CMainFrame::OpenRecentFile(int index) {
    const QStringList& entries = recentFiles_.entries();
    if (index < 0 || index >= entries.size()) {
        return false;
    }
    const QString path = entries.at(index);
    if (!SaveModified()) {
        return false;
    }
    if (OpenAfterAsking(path)) {
        return true;
    }
    // A file that cannot be opened any more leaves the list.
    recentFiles_.Remove(path);
    RebuildRecentFileMenu();
    return false;
}

bool CMainFrame::FileSave() {
    if (document_.PathName().empty()) {
        return FileSaveAs();
    }
    if (!document_.OnSaveDocument(document_.PathName())) {
        UpdateTitle();
        return false;
    }
    history_.MarkSaved();
    UpdateTitle();
    return true;
}

bool CMainFrame::FileSaveAs() {
    const std::optional<QString> path = AskSaveAsPath();
    if (!path) {
        return false;
    }
    if (!document_.OnSaveDocumentAs(path->toStdString())) {
        UpdateTitle();
        return false;
    }
    history_.MarkSaved();
    recentFiles_.Add(QString::fromStdString(document_.PathName()));
    RebuildRecentFileMenu();
    UpdateTitle();
    return true;
}

void CMainFrame::RebuildRecentFileMenu() {
    for (QAction* old : recentActions_) {
        fileMenu_->removeAction(old);
        actions_.erase(old->data().toInt());
        old->deleteLater();
    }
    recentActions_.clear();
    const QStringList& entries = recentFiles_.entries();
    if (entries.isEmpty()) {
        QAction* placeholder = MakeAction(cmd::kFileRecentFirst, QStringLiteral("Recent File"));
        placeholder->setEnabled(false);
        fileMenu_->insertAction(recentEnd_, placeholder);
        recentActions_.push_back(placeholder);
        return;
    }
    for (int i = 0; i < entries.size() && i < cmd::kRecentFileCount; ++i) {
        QAction* entry = MakeAction(
            cmd::kFileRecentFirst + i,
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(entries.at(i))));
        connect(entry, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        fileMenu_->insertAction(recentEnd_, entry);
        recentActions_.push_back(entry);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (SaveModified()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace korvane
