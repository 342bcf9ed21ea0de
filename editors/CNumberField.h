#pragma once

// The number fields of the hallway and enemy editors ("Hallway #", "Nb. Rooms", "Bank #", the
// Enemy editor's numbers): an edit that takes digits only, with its spin buttons. It reports a
// new number only when the user steps it or ends typing (Enter or leaving the field), never
// for each key, so that typing "12" is not a 1 first; Enter confirms the number and does not
// also press the dialog's default button. The owner shows values in it without setting off its
// own change handler.

#include <QSpinBox>

namespace korvane {

class CNumberField : public QSpinBox {
    Q_OBJECT
public:
    // A field named "id<controlId>".
    CNumberField(QWidget* parent, int controlId, int minimum, int maximum);

    // Puts the value (or the range) into the field without any change signal; the text is
    // rewritten only when it differs.
    void ShowValue(int value);
    void ShowRange(int minimum, int maximum);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace korvane
