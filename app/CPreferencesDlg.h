#pragma once

// Edit > Preferences: the emulator command that Play in Emulator runs, with a Browse... button
// for its program and a line about the emulators looked for.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace korvane {

class CPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    // command: the field's first text; note: a line shown under it (none when empty).
    CPreferencesDlg(const QString& command, const QString& note, QWidget* parent = nullptr);

    // The command as the field holds it now.
    QString command() const;

private:
    void Browse();

    QLineEdit* command_;
    QLabel* note_;
};

} // namespace korvane
