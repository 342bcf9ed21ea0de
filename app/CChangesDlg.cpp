#include "CChangesDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane {

namespace {
constexpr int kLevelRole = Qt::UserRole;
constexpr int kHallwayRole = Qt::UserRole + 1;
} // namespace

CChangesDlg::CChangesDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Changes"));
    setObjectName(QStringLiteral("changes"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("changesSummary"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("changesList"));
    list_->setUniformItemSizes(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(560, 420);
    connect(list_, &QListWidget::itemActivated, this, &CChangesDlg::Activated);
}

void CChangesDlg::SetChanges(const std::vector<ModelChange>& changes) {
    list_->clear();
    for (const ModelChange& change : changes) {
        auto* item = new QListWidgetItem(QString::fromStdString(change.line), list_);
        item->setData(kLevelRole, change.level);
        item->setData(kHallwayRole, change.hallway);
    }
    summary_->setText(changes.empty() ? QStringLiteral("No changes since the file was opened.")
                                      : QStringLiteral("%1 change%2 since the file was opened:")
                                            .arg(changes.size())
                                            .arg(changes.size() == 1 ? "" : "s"));
}

void CChangesDlg::Activated(QListWidgetItem* item) {
    const int level = item->data(kLevelRole).toInt();
    if (level >= 0) {
        emit changeChosen(level, item->data(kHallwayRole).toInt());
    }
}

} // namespace korvane
