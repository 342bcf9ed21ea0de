#include "CTileImportDlg.h"

#include "CCanvasControl.h"
#include "CCenteredFileDialog.h"
#include "EditorControlIds.h"
#include "EditorMessage.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace korvane {

namespace {

constexpr int kTileColumns = 16; // 16 x 16 tiles at scale 2: 256 x 256 pixels
constexpr int kTileScale = 2;
constexpr std::array<std::uint8_t, 4> kGreyRamp{0x0F, 0x00, 0x10, 0x30};

QString ChooseCartridge(QWidget* parent) {
    CCenteredFileDialog chooser(CCenteredFileDialog::Kind::Open, QStringLiteral("nes"), QString(),
                                QStringLiteral("Nes Files (*.nes);;All Files (*)"), parent);
    return chooser.DoModal() == CCenteredFileDialog::kOk ? chooser.GetPathName() : QString();
}

} // namespace

CTileImportDlg::CTileImportDlg(DisplayContext& display, QWidget* parent)
    : QDialog(parent), display_(display), shownLevel_(std::make_unique<LevelRecord>()),
      chooser_(ChooseCartridge) {
    setWindowTitle(QString::fromLatin1(kTileImportTitle));

    canvas_ = new CCanvasControl(display_, ids::kTilesCanvas, this);
    canvas_->setObjectName(ids::ControlObjectName(ids::kTilesCanvas));
    auto* importButton = new QPushButton(QStringLiteral("Import other game"), this);
    importButton->setObjectName(ids::ControlObjectName(ids::kImportOtherGame));
    auto* bankLabel = new QLabel(QStringLiteral("Bank #"), this);
    bankField_ = new QSpinBox(this);
    bankField_->setObjectName(ids::ControlObjectName(ids::kBankField));
    // Until a file is loaded there is no slice to choose.
    bankField_->setRange(0, 0);
    bankField_->setEnabled(false);
    bankLabel->setBuddy(bankField_);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(ids::ControlObjectName(ids::kOk));
    okButton_->setDefault(true);
    okButton_->setEnabled(false);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(ids::ControlObjectName(ids::kCancel));

    auto* layout = new QGridLayout(this);
    layout->addWidget(canvas_, 0, 0, 5, 1, Qt::AlignTop);
    layout->addWidget(importButton, 0, 1, 1, 2);
    layout->addWidget(bankLabel, 1, 1);
    layout->addWidget(bankField_, 1, 2);
    layout->setRowStretch(2, 1);
    layout->addWidget(okButton_, 3, 1, 1, 2);
    layout->addWidget(cancelButton, 4, 1, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(importButton, &QPushButton::clicked, this, &CTileImportDlg::ImportOtherGame);
    connect(okButton_, &QPushButton::clicked, this, &CTileImportDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CTileImportDlg::reject);
    connect(bankField_, &QSpinBox::valueChanged, this, &CTileImportDlg::OnBankChanged);

    canvas_->SetView(kTileColumns, kTileColumns, kTileScale, -1);
    canvas_->SetSelectionFrame(false, 1);
    canvas_->SetGrid(true, -1, 8); // one line per tile
    SetDisplayColours(kGreyRamp);
}

CTileImportDlg::~CTileImportDlg() = default;

void CTileImportDlg::SetFileChooser(FileChooser chooser) {
    chooser_ = std::move(chooser);
}

void CTileImportDlg::SetDisplayColours(std::span<const std::uint8_t, 4> nesColours) {
    std::copy(nesColours.begin(), nesColours.end(), shownLevel_->paletteSets[0].bytes.begin());
    canvas_->SetData(kTileColumns, kTileColumns, shownLevel_.get(), nullptr);
    ShowBank();
}

void CTileImportDlg::ImportOtherGame() {
    const QString path = chooser_ ? chooser_(this) : QString();
    if (!path.isEmpty()) {
        LoadFile(path);
    }
}

bool CTileImportDlg::LoadFile(const QString& path) {
    switch (source_.Load(QFile::encodeName(path).toStdString())) {
    case ImportLoad::Unreadable:
        ReportUnreadable();
        return false;
    case ImportLoad::TooShort:
        return false;
    case ImportLoad::Loaded:
        break;
    }
    // The range holds exactly the slices that lie wholly inside the file, so a bank beyond the
    // data cannot be typed in.
    const QSignalBlocker quiet(bankField_);
    bankField_->setRange(0, source_.sliceCount() - 1);
    bank_ = source_.firstCharacterSlice();
    bankField_->setValue(bank_);
    bankField_->setEnabled(true);
    okButton_->setEnabled(true);
    ShowBank();
    return true;
}

void CTileImportDlg::ReportUnreadable() {
    ShowEditorStop(display_, this, QString::fromLatin1(kCantReadImportFile));
}

void CTileImportDlg::OnBankChanged(int bank) {
    if (!source_.loaded()) {
        return;
    }
    bank_ = bank;
    okButton_->setEnabled(bankAcceptable());
    ShowBank();
}

void CTileImportDlg::ShowBank() {
    // Bytes beyond the file show as zeros; nothing is read outside the loaded data.
    const ImportView tiles = source_.View(bank_);
    canvas_->SetData(0, 0, nullptr, tiles.data());
    canvas_->DrawAllTiles();
}

ImportSlice CTileImportDlg::ChosenSlice() const {
    return bankAcceptable() ? source_.Slice(bank_) : ImportSlice{};
}

void CTileImportDlg::accept() {
    if (!bankAcceptable()) {
        QApplication::beep();
        return;
    }
    QDialog::accept();
}

} // namespace korvane
