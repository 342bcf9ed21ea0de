#pragma once

// The main frame: File and Help menus, the accelerators, the toolbar that the main view fills,
// the status bar with the commands' prompts, and the main view in the middle. It runs the file
// commands and never lets unsaved edits go without asking.

#include <QKeySequence>
#include <QMainWindow>

#include <map>
#include <vector>

class QMenu;

namespace korvane {

class CKorvaneDoc;
class CKorvaneView;
class DisplayContext;
class EditorRegistry;
class RecentFileList;
class UserPrompt;
class UserReporter;

struct Accelerator {
    QKeySequence keys;
    int commandId;
};
// The accelerator table of the main frame, in its order.
const std::vector<Accelerator>& AcceleratorTable();

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CKorvaneDoc& document, DisplayContext& display, EditorRegistry& editors,
               UserReporter& reporter, UserPrompt& prompt, RecentFileList& recentFiles,
               QWidget* parent = nullptr);

    CKorvaneView& view() { return *view_; }
    QToolBar& toolBar() { return *toolBar_; }
    QMenu& fileMenu() { return *fileMenu_; }
    // The action of a command (menu, toolbar or accelerator), or nullptr.
    QAction* action(int commandId) const;

    // The file commands. Each returns whether it was carried out.
    bool FileNew();
    bool FileOpen();
    bool FileSave();
    bool OpenDocumentFile(const QString& path);
    bool OpenRecentFile(int index);
    // Asks about unsaved changes; false when the user cancels or the save fails.
    bool SaveModified();
    void UpdateTitle();
    void RebuildRecentFileMenu();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(int commandId, const QString& text);
    bool OpenAfterAsking(const QString& path);

    CKorvaneDoc& document_;
    UserPrompt& prompt_;
    RecentFileList& recentFiles_;
    CKorvaneView* view_;
    QToolBar* toolBar_;
    QMenu* fileMenu_;
    QAction* recentEnd_ = nullptr; // the separator after the recent files
    std::vector<QAction*> recentActions_;
    std::map<int, QAction*> actions_;
};

} // namespace korvane
