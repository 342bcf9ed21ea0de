#include "CNumberField.h"

#include "EditorControlIds.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace korvane {

CNumberField::CNumberField(QWidget* parent, int controlId, int minimum, int maximum)
    : QSpinBox(parent) {
    setObjectName(ids::ControlObjectName(controlId));
    setRange(minimum, maximum);
    setKeyboardTracking(false);
}

void CNumberField::ShowValue(int value) {
    if (this->value() == value) {
        return;
    }
    const QSignalBlocker quiet(this);
    setValue(value);
}

void CNumberField::ShowRange(int minimum, int maximum) {
    if (this->minimum() == minimum && this->maximum() == maximum) {
        return;
    }
    const QSignalBlocker quiet(this);
    setRange(minimum, maximum);
}

void CNumberField::keyPressEvent(QKeyEvent* event) {
    QSpinBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
    }
}

} // namespace korvane
