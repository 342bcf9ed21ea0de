#pragma once

// Edit > Preferences: the emulator command that Play in Emulator runs, with a Browse... button
// for its program and a line about the emulators looked for, and how often a recovery copy of
// unsaved work is kept (10 to 600 seconds, or off).

#include <QDialog>

class QCheckBox;
class QLabel;
class QSpinBox;
class QVBoxLayout;
class QLineEdit;

namespace korvane {

class CPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    // command: the field's first text; note: a line shown under it (none when empty);
    // recoverySeconds: the recovery copies' interval (0 off), or negative for no such row.
    CPreferencesDlg(const QString& command, const QString& note, QWidget* parent = nullptr,
                    int recoverySeconds = -1);

    // The command as the field holds it now.
    QString command() const;
    // The recovery interval as the controls hold it now: seconds, or 0 for off.
    int recoverySeconds() const;

private:
    void Browse();
    void AddRecoveryRow(QVBoxLayout& layout, int seconds);

    QLineEdit* command_;
    QLabel* note_;
    QCheckBox* keepRecovery_ = nullptr;
    QSpinBox* recoveryInterval_ = nullptr;
};

} // namespace korvane
