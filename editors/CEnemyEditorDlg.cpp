#include "CEnemyEditorDlg.h"

#include "CDiscardGuard.h"
#include "CNumberField.h"
#include "EditorControlIds.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace korvane {

namespace {

constexpr int kLargestByte = 255;
constexpr int kHexDigits = 2;

// "1F", "a", "05": one or two hexadecimal digits, blanks around them allowed.
std::optional<std::uint8_t> ReadHexByte(const QString& text) {
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > kHexDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : digits) {
        const auto digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<int>(digit);
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace

CEnemyEditorDlg::CEnemyEditorDlg(const EnemyPlacement& placement, QWidget* parent)
    : QDialog(parent), placement_(placement) {
    setWindowTitle(tr("Enemy Editor"));
    setModal(true);
    roomPosition_ = new CNumberField(this, ids::kRoomPositionField, 0, kLargestByte);
    roomPosition_->setValue(placement.roomPosition);
    x_ = new CNumberField(this, ids::kEnemyXField, 0, kLargestByte);
    x_->setValue(placement.x);
    y_ = new CNumberField(this, ids::kEnemyYField, 0, kLargestByte);
    y_->setValue(placement.y);
    enemyId_ = new QLineEdit(this);
    enemyId_->setObjectName(ids::ControlObjectName(ids::kEnemyIdField));
    enemyId_->setMaxLength(kHexDigits);
    enemyId_->setText(
        QStringLiteral("%1").arg(placement.enemyId, kHexDigits, 16, QLatin1Char('0')).toUpper());
    status_ = new QLabel(this);
    status_->setObjectName(QString::fromLatin1(ids::kStatusName));
    status_->setTextFormat(Qt::PlainText);
    // A message wraps to the width the fields and buttons give the dialog, which keeps its
    // width when one appears (the dialog grows by the message's lines instead).
    status_->setWordWrap(true);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* fields = new QFormLayout;
    fields->addRow(tr("Room #"), roomPosition_);
    fields->addRow(tr("X"), x_);
    fields->addRow(tr("Y"), y_);
    fields->addRow(tr("Monster Hex Id"), enemyId_);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(ids::ControlObjectName(ids::kOk));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(ids::ControlObjectName(ids::kCancel));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CEnemyEditorDlg::accept);
    openedTexts_ = FieldTexts();
    discardGuard_ = new CDiscardGuard(*this, [this] { return HasChanges(); });
    discardGuard_->WatchCancelButton(*cancel);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(fields);
    top->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(status_);
    // The user may make it larger; never smaller than its fields, buttons and message.
    outer->setSizeConstraint(QLayout::SetMinimumSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
}

QString CEnemyEditorDlg::statusText() const {
    return status_->text();
}

QStringList CEnemyEditorDlg::FieldTexts() const {
    return {roomPosition_->text(), x_->text(), y_->text(), enemyId_->text()};
}

bool CEnemyEditorDlg::HasChanges() const {
    return FieldTexts() != openedTexts_;
}

void CEnemyEditorDlg::SetDiscardQuestion(DiscardQuestion question) {
    discardGuard_->SetQuestion(std::move(question));
}

void CEnemyEditorDlg::accept() {
    const std::optional<std::uint8_t> id = ReadHexByte(enemyId_->text());
    if (!id) {
        status_->setText(
            tr("Monster Hex Id: enter the enemy id as one or two hexadecimal digits (00 to FF)"));
        enemyId_->setFocus();
        enemyId_->selectAll();
        return;
    }
    // Numbers typed but not yet confirmed with Enter count too.
    for (QSpinBox* field : {roomPosition_, x_, y_}) {
        field->interpretText();
    }
    placement_ = {static_cast<std::uint8_t>(x_->value()), static_cast<std::uint8_t>(y_->value()),
                  static_cast<std::uint8_t>(roomPosition_->value()), *id};
    QDialog::accept();
}

} // namespace korvane
