#include "CPreferencesDlg.h"

#include "CommandIds.h"
#include "EmulatorCommand.h"
#include "RecoveryStore.h"
#include "editors/EditorControlIds.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvane {

CPreferencesDlg::CPreferencesDlg(const QString& command, const QString& note, QWidget* parent,
                                 int recoverySeconds)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Preferences"));
    setObjectName(ctl::ControlName(ctl::kPreferencesDialog));

    auto* label = new QLabel(QStringLiteral("&Emulator command:"), this);
    command_ = new QLineEdit(command, this);
    command_->setObjectName(ctl::ControlName(ctl::kEmulatorCommand));
    command_->setMinimumWidth(360);
    label->setBuddy(command_);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(ctl::ControlName(ctl::kEmulatorBrowse));
    connect(browse, &QPushButton::clicked, this, &CPreferencesDlg::Browse);
    auto* help = new QLabel(
        QStringLiteral("The program and its arguments, split as a shell splits them. {file} "
                       "stands for the cartridge; without it the cartridge comes last."),
        this);
    help->setWordWrap(true);
    note_ = new QLabel(note, this);
    note_->setObjectName(ctl::ControlName(ctl::kEmulatorNote));
    note_->setWordWrap(true);
    note_->setVisible(!note.isEmpty());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(ids::ControlObjectName(ids::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(ids::ControlObjectName(ids::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* field = new QHBoxLayout;
    field->addWidget(command_, 1);
    field->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(field);
    layout->addWidget(help);
    layout->addWidget(note_);
    if (recoverySeconds >= 0) {
        AddRecoveryRow(*layout, recoverySeconds);
    }
    layout->addWidget(buttons);
}

void CPreferencesDlg::AddRecoveryRow(QVBoxLayout& layout, int seconds) {
    keepRecovery_ =
        new QCheckBox(QStringLiteral("&Keep a recovery copy of unsaved work every"), this);
    keepRecovery_->setObjectName(ctl::ControlName(ctl::kRecoveryKeep));
    keepRecovery_->setChecked(seconds > 0);
    recoveryInterval_ = new QSpinBox(this);
    recoveryInterval_->setObjectName(ctl::ControlName(ctl::kRecoveryInterval));
    recoveryInterval_->setRange(kLeastRecoverySeconds, kMostRecoverySeconds);
    recoveryInterval_->setSuffix(QStringLiteral(" seconds"));
    recoveryInterval_->setValue(seconds > 0 ? seconds : kDefaultRecoverySeconds);
    recoveryInterval_->setEnabled(seconds > 0);
    connect(keepRecovery_, &QCheckBox::toggled, recoveryInterval_, &QWidget::setEnabled);
    auto* row = new QHBoxLayout;
    row->addWidget(keepRecovery_);
    row->addWidget(recoveryInterval_);
    row->addStretch(1);
    layout.addLayout(row);
}

int CPreferencesDlg::recoverySeconds() const {
    if (keepRecovery_ == nullptr || !keepRecovery_->isChecked()) {
        return 0;
    }
    return recoveryInterval_->value();
}

QString CPreferencesDlg::command() const {
    return command_->text();
}

void CPreferencesDlg::Browse() {
    const QString program = QFileDialog::getOpenFileName(this, QStringLiteral("Emulator"));
    if (!program.isEmpty()) {
        command_->setText(EmulatorCommand::WithProgram(command_->text(), program));
    }
}

} // namespace korvane
