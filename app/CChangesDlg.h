#pragma once

// File > Changes...: every difference between the file as it was opened and the model now, one
// line each, in the words of `korvane-cli diff`. Double-clicking a line of a level selects the
// level (and the hallway that shows the change) in the main view. The window keeps one, shown
// beside it, and fills it again each time the command runs.

#include "gamedata/ModelChange.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace korvane {

class CChangesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CChangesDlg(QWidget* parent = nullptr);

    void SetChanges(const std::vector<ModelChange>& changes);
    QListWidget& list() { return *list_; }
    QLabel& summary() { return *summary_; }

signals:
    // A line of a level was double-clicked; hallway is -1 when no hallway shows the change.
    void changeChosen(int level, int hallway);

private:
    void Activated(QListWidgetItem* item);

    QLabel* summary_;
    QListWidget* list_;
};

} // namespace korvane
