#pragma once

// The file chooser of the "Tiles import" dialog: the toolkit's open (or save) file dialog, shown
// modally in the middle of the screen its parent is on rather than wherever the toolkit puts it.

#include <QFileDialog>

namespace korvane {

class CCenteredFileDialog : public QFileDialog {
    Q_OBJECT
public:
    enum class Kind { Open, Save };
    // The results of DoModal.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    // filter is in the toolkit's form: "Nes Files (*.nes);;All Files (*)". The toolkit's own
    // dialog is used (a desktop's native one cannot be placed); it has no read-only box.
    CCenteredFileDialog(Kind kind, const QString& defaultExtension, const QString& initialFileName,
                        const QString& filter, QWidget* parent = nullptr);

    // Runs the dialog modally, centred on the available area of the parent's screen (the
    // primary screen without a parent); input to the parent is blocked meanwhile, and the
    // keyboard focus goes back to the widget that had it. kOk when a file was chosen, kCancel
    // otherwise.
    int DoModal();
    // The chosen file's full path; empty when none was chosen.
    QString GetPathName() const;

    // The top-left corner that centres a dialog of the given size on a screen's available
    // area, moved back inside the area when the dialog is larger.
    static QPoint Placement(const QRect& available, const QSize& dialogSize);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace korvane
