#include "DiscardQuestion.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace korvane {

std::unique_ptr<QMessageBox> MakeDiscardBox(QWidget* parent, const QString& editorName) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(editorName);
    box->setText(QCoreApplication::translate("korvane::DiscardQuestion",
                                             "Discard the changes made in the %1?")
                     .arg(editorName));
    box->addButton(QCoreApplication::translate("korvane::DiscardQuestion", "Discard"),
                   QMessageBox::DestructiveRole);
    QPushButton* keep =
        box->addButton(QCoreApplication::translate("korvane::DiscardQuestion", "Keep Editing"),
                       QMessageBox::RejectRole);
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    return box;
}

bool AskDiscardChanges(QWidget* parent, const QString& editorName) {
    const std::unique_ptr<QMessageBox> box = MakeDiscardBox(parent, editorName);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    return clicked != nullptr && box->buttonRole(clicked) == QMessageBox::DestructiveRole;
}

} // namespace korvane
