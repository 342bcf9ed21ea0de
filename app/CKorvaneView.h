#pragma once

// The main level view: Level #, Hallway # and Highlights above the level preview, the hex dump
// of the level's undecoded bytes below it; it rebuilds the main toolbar to match the document
// and starts every editor.

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <array>
#include <map>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolBar;

namespace korvane {

class CCanvasControl;
class CKorvaneDoc;
class GameData;
class DisplayContext;
class DocumentHistory;
class EditorRegistry;
class UserReporter;

inline constexpr int kToolbarBitmapEmpty = 128; // Open, Save, About
inline constexpr int kToolbarBitmapFull = 181;  // Open, Save, seven editors, Play, About
inline constexpr int kPreviewColumns = 96;      // three rooms of 32 cells
inline constexpr int kPreviewRows = 32;
inline constexpr int kLastLevelNumber = 15; // the rows of the catalogue that are levels

// The main frame's size after the form asks it to fit: each side shrinks to the form's and
// never grows.
QSize ShrinkOnlyFit(const QSize& current, const QSize& fit);

// The frame's actions that the view puts on the toolbar beside its own editor commands.
struct ToolbarActions {
    QToolBar* toolBar = nullptr;
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* about = nullptr;
    QAction* play = nullptr; // Play in Emulator, with a cartridge only
};

class CKorvaneView : public QWidget {
    Q_OBJECT
public:
    CKorvaneView(CKorvaneDoc& document, DocumentHistory& history, DisplayContext& display,
                 EditorRegistry& editors, UserReporter& reporter, QWidget* parent = nullptr);

    void SetToolbar(const ToolbarActions& actions) { toolbar_ = actions; }

    // Each time the document has been opened or created.
    void InitialUpdate();
    void LevelChanged();
    // The user edited the text of Level #.
    void LevelTextEdited(const QString& text);
    void HallwayChanged();
    void HighlightChanged(int item);
    // Runs the editor of one of the seven editor commands on the current level. An OK that
    // changed the model is one step of the window's history.
    bool OpenEditor(int commandId);
    // The model changed under the preview (an undo or redo): the current level is shown again,
    // its hallway kept where it still exists.
    void ModelChanged();
    void OpenAbout();

    int level() const { return level_; }
    int hallway() const { return hallway_; }
    const QString& undecodedText() const { return undecodedText_; }
    bool initialised() const { return initialised_; }
    CCanvasControl& preview() { return *preview_; }
    // The preview's zoom, 1 to 4 (Ctrl + wheel over it, Zoom In, Zoom Out, Ctrl+0), kept in the
    // settings. The preview scales up further when the window has room in height.
    void SetPreviewZoom(int zoom);
    int previewZoom() const;
    QSpinBox& levelField() { return *levelField_; }
    QSpinBox& hallwayField() { return *hallwayField_; }
    QComboBox& highlights() { return *highlights_; }
    QLabel& levelName() { return *levelName_; }
    QLabel& undecodedBytes() { return *undecodedLabel_; }
    QAction* editorAction(int commandId) const;
    // While an editor is open: the whole model as OK would leave it now (the editor's working
    // copies in, the editor's fix-ups made), and the editor's name in editorName. Nothing
    // when no editor is open or its dialog can't be seen.
    std::unique_ptr<GameData> ModelAsIfEditorOk(QString& editorName) const;

signals:
    // An editor ended with OK and changed the model: the document is now modified.
    void documentModified();
    // An editor is about to open, and has closed (OK or Cancel).
    void editorOpened();
    void editorClosed();

private:
    void CreateZoomKeys();
    bool DocumentReady() const;
    void RebuildToolbar();
    void UpdateEditorCommands();
    void ShowMembers(); // the member values into the controls, without change notifications
    void SetHallwayRange(int last);
    // After the current level changed: the Hallway # range follows its hallways, and a hallway
    // past them falls back to 0.
    void FollowHallwayCount();

    CKorvaneDoc& document_;
    DocumentHistory& history_;
    DisplayContext& display_;
    EditorRegistry& editors_;
    UserReporter& reporter_;
    ToolbarActions toolbar_;
    std::map<int, QAction*> editorActions_;
    std::array<QAction*, 5> separators_{};

    QSpinBox* levelField_;
    QLabel* levelName_;
    QSpinBox* hallwayField_;
    QComboBox* highlights_;
    CCanvasControl* preview_;
    QLabel* undecodedLabel_;

    int level_ = 0;
    int hallway_ = 0;
    int openEditor_ = 0; // the command of the editor open now, 0 when none
    QString undecodedText_;
    bool fontMade_ = false;
    bool initialised_ = false;
};

} // namespace korvane
