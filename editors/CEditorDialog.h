#pragma once

// What the layer editors share: a modal dialog that owns a working copy of one level, the tool
// flag (Paint or Dropper), the three selections, a clipboard, the tool buttons with their
// images, the grid toggle, the Highlights list, the palette page list, the canvases it keeps in
// step with the working copy, and undo and redo of every change.
//
// An editor derives from it, builds its canvases and controls in its constructor with the
// Create and AddCanvas helpers (each part is optional), calls FinishOpening() last, makes every
// change of the working copy through ApplyEdit() and shows the working copy again in
// RefreshFromWorkingCopy(). The working copy goes back into the caller's record only in
// accept(); reject() leaves it untouched.
//
// Editors whose item is a fixed run of bytes of the level, painted part by part (blocks,
// assemblies, rooms; a tile's or a palette's bytes), describe it once with SetItemUnit() and
// give their canvases the Items, Edit and Parts roles: the base then handles the clicks (pick an
// item, pick a part, paint or pick up a part), Copy and Paste.
//
// A press with Paint on an Edit canvas starts a stroke: every cell the pointer crosses until the
// release is painted at once, and the stroke becomes one undo step (ApplyStrokeEdit). The right
// button picks up the part under the pointer whatever the tool. Esc, Cancel and closing the
// window ask before a changed working copy is dropped (HasChanges, SetDiscardQuestion).
//
// The dialog can be resized and maximised: its canvases and controls lie in a scrolled area
// above the status line and the buttons, which stay in view. The canvases that scroll show more
// of their content as it grows. One zoom, 1x to 4x, is shared by all of the dialog's canvases
// and pixel editors (Ctrl + wheel, Zoom In, Zoom Out, Ctrl+0), and kept for the next time the
// editor opens.
//
// While a mouse button is held on one of the dialog's canvases or watched pixel editors, Undo,
// Redo (keys and buttons), Paste and whatever an editor hands to RunWhenButtonsFree() wait: they
// run, in the order they were asked for, once the button is up again and the stroke or drag it
// made has become its own step.

#include "CColourListControl.h"
#include "DiscardQuestion.h"
#include "EditStroke.h"
#include "HeldButtonGate.h"
#include "gamedata/ByteDelta.h"
#include "gamedata/LevelRecord.h"
#include "graphics/CanvasNotification.h"

#include <QDialog>
#include <QFlags>
#include <QIcon>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace korvane {

class CCanvasControl;
class CDiscardGuard;
class CPixelEditorControl;
class DisplayContext;

// The tool flag: what a click on an edit canvas does.
enum class EditorTool : int { Dropper = 0, Paint = 1 };

// A canvas's set-up when the dialog opens, in cells of 8 x 8 content pixels.
struct CanvasLayout {
    int visibleColumns = 0; // SetView: the visible area
    int visibleRows = 0;
    int zoomIn = 1; // the scale is zoomIn / zoomOut
    int zoomOut = 1;
    int contentColumns = 0; // SetData: the content size
    int contentRows = 0;
    int selectionUnit = 1; // cells the selection frame covers each way
    int gridPixels = 8;    // screen pixels from one grid line to the next
};

// What a registered canvas is to the dialog.
enum class CanvasRole : unsigned {
    Items = 1,       // the items that can be edited: a click selects one
    Edit = 2,        // the selected item enlarged: the tool's pointer; a click paints or picks
    Parts = 4,       // the parts items are made of: a click selects one, the dropper frames one
    Highlight = 8,   // takes the Highlights selector
    PaletteSet = 16, // takes the chosen palette set, also after every reload
    Grid = 32,       // takes the grid toggle
};
using CanvasRoles = QFlags<CanvasRole>;

// An item that is a fixed run of bytes of the level, and the words its undo steps use:
// "Paint tile $7F into block 12, quarter 3", "Paste into block 200".
struct ItemUnit {
    // The bytes of item i (0 <= i < itemCount) in a level; cell c of the edit canvas is byte c.
    std::function<std::span<std::uint8_t>(LevelRecord& level, int item)> bytes;
    int itemCount = 0;
    QString itemName;  // "block"
    QString partName;  // "tile"
    QString cellName;  // "quarter"
    QString cellsName; // "quarters", for a paint stroke's step (cellName + "s" when empty)
};

// One canvas of an editor: its control id, the label above it, its set-up, its roles and its
// layer routine.
struct CanvasSpec {
    int controlId = 0;
    QString label;
    CanvasLayout layout;
    CanvasRoles roles;
    std::function<void(CCanvasControl&)> draw;
};

class CEditorDialog : public QDialog {
    Q_OBJECT
public:
    // How a registered canvas is drawn from its data: its layer routine.
    using LayerRoutine = std::function<void(CCanvasControl&)>;

    static constexpr std::uint32_t kGridColour = 0xCCCCCC;
    static constexpr std::uint32_t kButtonGrey = 0xC0C0C0;
    static constexpr int kPaletteSets = kPaletteSetCount;

    // Takes the working copy from level; level must outlive the dialog.
    CEditorDialog(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);
    ~CEditorDialog() override;

    // OK: the whole working copy goes back over the record the dialog was opened on. Commands
    // still waiting for a button to come up are dropped, by Cancel too.
    void accept() override;
    void reject() override;

    // Whether the working copy (or a tracked object) differs from what the dialog opened on.
    // Esc, Cancel and closing the window then ask "Discard the changes made in the <title>?"
    // and stay open on Keep Editing; reject() itself never asks.
    bool HasChanges() const;
    // Replaces that question; an empty one restores the default message box.
    void SetDiscardQuestion(DiscardQuestion question);

    const LevelRecord& workingCopy() const { return working_; }
    EditorTool tool() const { return tool_; }
    int selectedItem() const { return selectedItem_; }
    int selectedPart() const { return selectedPart_; }
    int lastCell() const { return lastCell_; }
    int paletteSet() const { return paletteSet_; }
    int highlightSelector() const { return highlightSelector_; }
    // 0 when the grid is hidden, all bits set when it is shown.
    int gridFlag() const { return gridFlag_; }
    const std::vector<std::uint8_t>& clipboard() const { return clipboard_; }
    bool hasClipboard() const { return clipboardFilled_; }
    QUndoStack& undoStack() { return undoStack_; }
    // Whether a mouse button is down on one of the canvases or watched pixel editors, and how
    // many commands wait for it to come up.
    bool buttonHeld() const { return buttonGate_.held(); }
    std::size_t waitingCommands() const { return buttonGate_.waiting(); }
    // What the undo steps hold: their bytes, their texts and the commands themselves.
    std::size_t UndoMemoryBytes() const;
    QString statusText() const;
    // The selected item's bytes in the working copy (empty for an editor without an ItemUnit).
    std::span<const std::uint8_t> SelectedUnit() const;

    static constexpr int kMaxZoom = 4;
    // The zoom of every canvas and pixel editor of the dialog, clamped to 1 .. kMaxZoom. A
    // change is kept in the settings under the editor's name and the dialog takes the size of
    // its content again.
    void SetZoom(int zoom);
    int zoom() const { return zoom_; }
    // The dialog's size for its content at the present zoom, within the free area of its
    // screen (the content scrolls where it does not fit). Nothing while it is maximised.
    void FitToContent();
    // The scrolled area that holds the canvases and controls.
    QScrollArea* contentArea() const { return contentArea_; }

    // A tool-button picture: the 16 x 16 bitmap resource with its light grey background
    // (RGB 192, 192, 192) transparent, also drawn at 32 x 32 by doubling every pixel for a
    // device pixel ratio of 2. Null when there is no such bitmap.
    static QIcon ButtonImage(int resourceId);

protected:
    // Building, in the editor's constructor.

    // The row that takes the editor's canvases and controls; the status line, Undo, Redo, OK
    // and Cancel lie below it.
    QHBoxLayout* body() { return body_; }
    // A canvas named "id<controlId>", set up (SetView, SetData with the working copy and its
    // tiles, SetGrid on in the grid colour, SetSelectionFrame shown), registered for roles and
    // drawn with draw. Clicks reach OnCanvasNotification().
    CCanvasControl* AddCanvas(int controlId, const CanvasLayout& layout, CanvasRoles roles,
                              LayerRoutine draw);
    // The same for a canvas the editor has set up itself. load says how the canvas takes the
    // working copy on a reload; without it, SetData with the working copy and its tiles (a
    // hallway canvas gives SetHallway here).
    void RegisterCanvas(CCanvasControl& canvas, CanvasRoles roles, LayerRoutine draw,
                        LayerRoutine load = {});
    // A pixel editor whose held buttons make commands wait as a canvas's do (the registered
    // canvases are watched already). Connect the editor's own answer to its StrokeFinished
    // before or after: the commands run only on ButtonsFreed, which comes after it.
    void WatchPixelEditor(CPixelEditorControl& pixels);
    // A 36 x 28 push button named "id<controlId>" with the tool picture of the bitmap resource
    // (its number in the "bitmap" property). The Create helpers below are made with it.
    QPushButton* CreateToolButton(int controlId, int resourceId, const QString& toolTip);
    QPushButton* CreatePaintButton();
    QPushButton* CreateDropperButton();
    QPushButton* CreateCopyButton();
    // Created disabled: it is enabled by the first SetClipboard().
    QPushButton* CreatePasteButton();
    QPushButton* CreateGridButton();
    // Paint, Dropper, Copy, Paste and Grid, two to a row, as one widget.
    QWidget* CreateStandardToolButtons();
    // The usual dialog: the items canvas on the left; the edit canvas, the standard tool
    // buttons, middleExtras and Highlights in the middle; the parts canvas on the right with
    // rightExtras and the palette page list side by side below it. Returns the three canvases.
    struct StandardCanvases {
        CCanvasControl* items;
        CCanvasControl* edit;
        CCanvasControl* parts;
    };
    StandardCanvases BuildStandardLayout(const CanvasSpec& items, const CanvasSpec& edit,
                                         const CanvasSpec& parts,
                                         const QList<QWidget*>& middleExtras = {},
                                         const QList<QWidget*>& rightExtras = {});
    // The 19 Highlights items; a choice gives its selector to the Highlight canvases.
    QComboBox* CreateHighlightsCombo();
    // "Index" and "Palette Set" columns, rows "Set #1" to "Set #5" with set swatches; a click
    // on a row calls PalettePageChosen().
    CColourListControl* CreatePalettePageList();
    // A static label above a control, as one widget for a layout.
    static QWidget* Labelled(const QString& label, QWidget* control);
    // The keys of the tool buttons, whichever the editor has: B Paint, I Dropper, F Bucket,
    // Ctrl+G Grid, and the standard Copy and Paste keys. Each acts as a click on its button
    // (nothing while the button is missing or disabled).
    void CreateToolKeys();
    // The last step of opening, for the parts the editor created: the Paint tool, the grid
    // toggled once (shown), "No shading" and palette set 0.
    void FinishOpening();

    // Editing.

    // Every change of the working copy goes through here: change runs on the working copy;
    // if it altered any byte (of the level or of a tracked object) the change becomes one
    // undo step named text. Then RefreshFromWorkingCopy() runs, step or not. True when a step
    // was made.
    bool ApplyEdit(const QString& text, const std::function<void(LevelRecord&)>& change);
    // The same for one cell of a paint stroke: while a stroke is under way (the left button
    // went down on an Edit canvas and is held) the changes of its cells gather into one step,
    // made on the release and named text when one cell changed, strokeName(count) when
    // several did. Outside a stroke it is ApplyEdit(text, change).
    bool ApplyStrokeEdit(const QString& text, EditStroke::StrokeName strokeName,
                         const std::function<void(LevelRecord&)>& change);
    // Whether the notification is a stroke that paints: Stroke from an Edit canvas with Paint.
    bool PaintsOnStroke(const CanvasNotification& notification) const;
    // Runs action at once, or, while a mouse button is held (buttonHeld()), once it is up
    // again and what the press did is its own step. For the commands that change the working
    // copy from the keyboard or a button.
    void RunWhenButtonsFree(std::function<void()> action);
    // Another object that changes go into with the level (the enemy editor's enemy tables):
    // ApplyEdit compares and restores its bytes too. It must outlive the dialog's undo steps.
    template <class T> void TrackEditedObject(T& object) {
        tracked_.push_back(std::span<std::uint8_t>(ObjectBytes(object)));
        const std::span<std::uint8_t> bytes = tracked_.back();
        opened_.emplace_back(bytes.begin(), bytes.end());
    }
    // Shows the working copy as it now is in every canvas, list and combo of the editor. Runs
    // after every ApplyEdit, undo and redo. The base reloads the Items and Edit canvases (and
    // frames the selected item again, as the reload scrolls back to the start); an editor adds
    // its own controls.
    virtual void RefreshFromWorkingCopy();

    // Items made of parts (see ItemUnit).

    void SetItemUnit(ItemUnit unit);
    // Makes item the selected item and redraws the Edit canvases; then SelectedItemChanged().
    void SelectItemAt(int item);
    // A click on cell of the Edit canvas: recorded as the last cell; with Paint the selected
    // part goes into that byte of the selected item (one step), with the Dropper that byte
    // becomes the selected part and the Parts canvases frame it. Then the Items and Edit
    // canvases are reloaded.
    void ClickCell(int cell);
    // The Dropper's part of a click, whatever the tool: cell's part becomes the selected part.
    void PickCell(int cell);

    // Canvases.

    // The working copy into the canvas (its load routine, or SetData with the working copy and
    // its tiles and no new size), the chosen palette set given back, and the layer routine: a
    // reload also scrolls the canvas back to its start.
    void Reload(CCanvasControl& canvas);
    // The layer routine again (after a selector or the current item changed).
    void Redraw(CCanvasControl& canvas);

    // Tool, selections, shared controls.

    void SelectTool(EditorTool tool);
    void SetSelectedItem(int item) { selectedItem_ = item; }
    void SetSelectedPart(int part) { selectedPart_ = part; }
    void SetLastCell(int cell) { lastCell_ = cell; }
    // Inverts the grid flag; the Grid canvases show or hide their grid and the Grid button
    // shows image 142 (shown) or 184 (hidden).
    void ToggleGrid();
    // The selector of a Highlights item to the Highlight canvases, which are redrawn.
    void ChooseHighlight(int item);
    // The set to the PaletteSet canvases, which are redrawn; then PaletteSetChanged().
    void SetPaletteSet(int set);
    // The palette page list's swatches again from the working copy, the chosen set selected.
    void RefillPalettePageList();
    // Fills the clipboard and enables Paste for the rest of the dialog.
    void SetClipboard(std::vector<std::uint8_t> unit);
    // One line below the editor's controls, for why a change was refused; cleared by the next
    // step, undo or redo.
    void ShowStatus(const QString& text);

    // Hooks.

    // A notification of a registered canvas. The base takes clicks by role: Items select the
    // item (SelectItemAt), Parts the part, Edit paint or pick (ClickCell).
    virtual void OnCanvasNotification(const CanvasNotification& notification);
    // After SelectItemAt(): the editor's own controls that show the selected item.
    virtual void SelectedItemChanged() {}
    // Copy: the selected item's unit into the clipboard (SetClipboard). The base copies the
    // ItemUnit's bytes.
    virtual void Copy();
    // Paste: the clipboard over the selected item, as one step. The base writes the ItemUnit's
    // bytes ("Paste into block 200").
    virtual void Paste();
    // A palette page list row was clicked; the default makes it the palette set.
    virtual void PalettePageChosen(int set);
    // After SetPaletteSet(): the editor's own controls that follow the set.
    virtual void PaletteSetChanged() {}

    // The first show takes the zoom the editor was last left at and fits the dialog to it.
    void showEvent(QShowEvent* event) override;
    // The width the content area has beyond what the content needs goes to the canvases that
    // scroll.
    void resizeEvent(QResizeEvent* event) override;

    DisplayContext& display() { return display_; }
    QPushButton* pasteButton() const { return pasteButton_; }
    CColourListControl* palettePageList() const { return palettePageList_; }

private:
    struct RegisteredCanvas {
        CCanvasControl* canvas;
        CanvasRoles roles;
        LayerRoutine draw;
        LayerRoutine load;
    };

    const RegisteredCanvas* Find(const CCanvasControl& canvas) const;
    const RegisteredCanvas* FindSender(const CanvasNotification& notification) const;
    // A stroke opens when the left button goes down on an Edit canvas and becomes its step
    // when it comes up, before the commands that waited for it run.
    void BeginStroke(CCanvasControl& canvas);
    void FinishStroke();
    bool ApplyEditNow(const QString& text, const std::function<void(LevelRecord&)>& change);
    bool ChangesWorkingCopy(const std::function<void(LevelRecord&)>& change);
    bool HasUnit() const { return static_cast<bool>(unit_.bytes); }
    void AfterUndoOrRedo();
    void UpdateUndoButtons();
    void CreateZoomKeys();
    void GiveSpareWidthToCanvases();
    // The name the editor's zoom is kept under: its class name.
    QString ZoomName() const;

    DisplayContext& display_;
    LevelRecord& target_;
    LevelRecord working_;
    std::vector<std::span<std::uint8_t>> tracked_;
    std::vector<std::vector<std::uint8_t>> snapshots_;
    // The tracked objects' bytes when they were first tracked (the level's are the record's).
    std::vector<std::vector<std::uint8_t>> opened_;
    QUndoStack undoStack_;
    CDiscardGuard* discardGuard_ = nullptr;
    EditStroke stroke_;
    CCanvasControl* strokeCanvas_ = nullptr;

    EditorTool tool_ = EditorTool::Paint;
    int selectedItem_ = 0;
    int selectedPart_ = 0;
    int lastCell_ = 0;
    int gridFlag_ = 0;
    int highlightSelector_ = -1;
    int paletteSet_ = 0;
    std::vector<std::uint8_t> clipboard_;
    bool clipboardFilled_ = false;

    ItemUnit unit_;
    std::vector<RegisteredCanvas> canvases_;
    std::vector<CPixelEditorControl*> pixelEditors_;
    HeldButtonGate buttonGate_;
    QHBoxLayout* body_ = nullptr;
    QScrollArea* contentArea_ = nullptr;
    QVBoxLayout* contentLayout_ = nullptr;
    int zoom_ = 1;
    bool zoomRestored_ = false;
    QLabel* status_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QPushButton* redoButton_ = nullptr;
    QPushButton* paintButton_ = nullptr;
    QPushButton* dropperButton_ = nullptr;
    QPushButton* pasteButton_ = nullptr;
    QPushButton* gridButton_ = nullptr;
    QComboBox* highlights_ = nullptr;
    CColourListControl* palettePageList_ = nullptr;
    QIcon gridShownImage_;
    QIcon gridHiddenImage_;
};

} // namespace korvane

Q_DECLARE_OPERATORS_FOR_FLAGS(korvane::CanvasRoles)
