#include "EditorMessage.h"

#include "gamedata/UserReporter.h"
#include "graphics/DisplayLayer.h"

#include <QMessageBox>

namespace korvane {

void ShowEditorStop(const DisplayContext& display, QWidget* parent, const QString& text) {
    if (UserReporter* reporter = display.reporter()) {
        reporter->ShowMessage(MessageIcon::Stop, "Korvane", text.toStdString());
    } else {
        QMessageBox::critical(parent, QStringLiteral("Korvane"), text);
    }
}

} // namespace korvane
