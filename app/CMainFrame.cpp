#include "CMainFrame.h"

#include "CKorvaneView.h"
#include "CommandIds.h"
#include "RecentFileList.h"
#include "UserPrompt.h"
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

CMainFrame::CMainFrame(CKorvaneDoc& document, DisplayContext& display, EditorRegistry& editors,
                       UserReporter& reporter, UserPrompt& prompt, RecentFileList& recentFiles,
                       QWidget* parent)
    : QMainWindow(parent), document_(document), prompt_(prompt), recentFiles_(recentFiles) {
    QAction* open = MakeAction(cmd::kFileOpen, QStringLiteral("&Open..."));
    QAction* save = MakeAction(cmd::kFileSave, QStringLiteral("&Save"));
    QAction* exit = MakeAction(cmd::kAppExit, QStringLiteral("E&xit"));
    QAction* about = MakeAction(cmd::kAppAbout, QStringLiteral("&About Korvane..."));
    QAction* fileNew = MakeAction(cmd::kFileNew, QStringLiteral("&New"));
    for (int inert : {cmd::kEditUndo, cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste,
                      cmd::kNextPane, cmd::kPrevPane}) {
        MakeAction(inert, QString())->setEnabled(false);
    }
    for (const Accelerator& accelerator : AcceleratorTable()) {
        QAction* target = action(accelerator.commandId);
        QList<QKeySequence> keys = target->shortcuts();
        keys.append(accelerator.keys);
        target->setShortcuts(keys);
        addAction(target);
    }

    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->addAction(open);
    fileMenu_->addAction(save);
    fileMenu_->addSeparator();
    recentEnd_ = fileMenu_->addSeparator();
    fileMenu_->addAction(exit);
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

    view_ = new CKorvaneView(document_, display, editors, reporter, this);
    view_->SetToolbar({toolBar_, open, save, about});
    setCentralWidget(view_);
    connect(view_, &CKorvaneView::documentModified, this, &CMainFrame::UpdateTitle);

    connect(fileNew, &QAction::triggered, this, [this] { FileNew(); });
    connect(open, &QAction::triggered, this, [this] { FileOpen(); });
    connect(save, &QAction::triggered, this, [this] { FileSave(); });
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(about, &QAction::triggered, view_, &CKorvaneView::OpenAbout);

    RebuildRecentFileMenu();
    UpdateTitle();
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
    document_.SetModifiedFlag(false);
    view_->InitialUpdate();
    UpdateTitle();
    return true;
}

bool CMainFrame::FileOpen() {
    const std::optional<QString> path = prompt_.AskOpenFileName();
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
    document_.SetModifiedFlag(false);
    recentFiles_.Add(path);
    RebuildRecentFileMenu();
    view_->InitialUpdate();
    UpdateTitle();
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
    QString path = QString::fromStdString(document_.PathName());
    if (path.isEmpty()) {
        const std::optional<QString> chosen = prompt_.AskSaveFileName();
        if (!chosen) {
            return false;
        }
        path = *chosen;
    }
    if (!document_.OnSaveDocument(path.toStdString())) {
        UpdateTitle();
        return false;
    }
    document_.SetModifiedFlag(false);
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
