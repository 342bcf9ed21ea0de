#include "CAboutDlg.h"

#include "AboutArtwork.h"
#include "CLinkStatic.h"
#include "CommandIds.h"
#include "ResourceImages.h"
#include "editors/CCanvasControl.h"

#include <QLabel>
#include <QPushButton>

namespace korvane {

namespace {

constexpr int kSurfaceLeft = 20;
constexpr std::array<int, 3> kSurfaceTops{70, 102, 134};
constexpr std::array<int, 3> kSurfaceIds{ctl::kAboutSurface1, ctl::kAboutSurface2,
                                         ctl::kAboutSurface3};

QLabel* PlaceLabel(const char* text, int x, int y, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(DisplayContext& display, UserReporter& reporter,
                     const std::array<std::uint8_t, kAboutTileBytes>& aboutTiles,
                     const std::array<std::uint8_t, kAboutTileLargeBytes>& aboutTilesLarge,
                     bool decoded, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(kAboutTitle));
    setFixedSize(300, 206);

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setGeometry(12, 10, 32, 32);
    PlaceLabel(kVersionText, 56, 8, this);
    QLabel* codedBy = PlaceLabel(kCodedByText, 56, 28, this);
    credit_ = new CLinkStatic(QString::fromLatin1(kCreditText), QString(), &reporter, this);
    credit_->setObjectName(ctl::ControlName(ctl::kCreditLink));
    credit_->SetUnderline(UnderlineMode::Never);
    credit_->SetUrl(QString::fromLatin1(kCreditUrl));
    credit_->move(codedBy->geometry().right() + 6, 28);
    web_ = new CLinkStatic(QString::fromLatin1(kWebText), QString(), &reporter, this);
    web_->setObjectName(ctl::ControlName(ctl::kWebLink));
    web_->SetUnderline(UnderlineMode::Never);
    web_->SetUrl(web_->text());
    web_->move(56, 66);
    web_->hide();
    PlaceLabel(kDateText, 56, 48, this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(300 - 12 - 75, 206 - 12 - 24, 75, 24);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    const auto tiles = AboutTileTable(aboutTiles, aboutTilesLarge);
    const LevelRecord palettes = AboutPaletteRecord();
    for (std::size_t i = 0; i < surfaces_.size(); ++i) {
        auto* surface = new CSurfaceWindow(display, kSurfaceIds[i], this);
        surface->setObjectName(ctl::ControlName(kSurfaceIds[i]));
        surface->SetView(kAboutColumns, kAboutRows, 1, 1);
        surface->SetData(kAboutColumns, kAboutRows, &palettes, tiles.data());
        surface->SetGrid(false);
        surface->SetSelectionFrame(false, 1);
        surface->move(kSurfaceLeft, kSurfaceTops[i]);
        surfaces_[i] = surface;
        FillPattern(static_cast<int>(i), 0);
    }

    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &CAboutDlg::AnimationTick);
    if (!decoded) {
        for (CSurfaceWindow* surface : surfaces_) {
            surface->hide();
        }
        return;
    }
    timer_.start(kAboutFirstPeriod);
}

void CAboutDlg::FillPattern(int surface, int shift) {
    CRenderer& renderer = surfaces_.at(static_cast<std::size_t>(surface))->renderer();
    for (int row = 0; row < kAboutRows; ++row) {
        for (int column = 0; column < kAboutColumns; ++column) {
            renderer.PutCell(column, row, AboutPatternTile(surface, row, column, shift),
                             AboutPatternPalette(surface, row), false);
        }
    }
    surfaces_.at(static_cast<std::size_t>(surface))->update();
}

void CAboutDlg::PutGlyph(int column, int row, char character) {
    CSurfaceWindow& third = *surfaces_[2];
    third.renderer().PutCell(column, row, AboutGlyphTile(character), 3, false);
    third.update();
}

void CAboutDlg::AnimationTick() {
    ++ticks_;
    if (ticks_ == 1) {
        timer_.setInterval(kAboutSlidePeriod);
    }
    if (ticks_ <= kAboutSlideTicks) {
        FillPattern(0, ticks_ % 33);
        FillPattern(1, 33 - ticks_ % 33);
    } else if (ticks_ == kAboutFirstLineTick) {
        timer_.setInterval(kAboutTextPeriod);
        for (std::size_t i = 0; i < kAboutFirstLine.size(); ++i) {
            PutGlyph(kAboutFirstLineColumn + static_cast<int>(i), 1, kAboutFirstLine[i]);
        }
    } else if (ticks_ < kAboutLastTick) {
        const int glyph = ticks_ - kAboutFirstLineTick - 1;
        if (glyph >= 0 && glyph < static_cast<int>(kAboutSecondLine.size())) {
            PutGlyph(glyph, 2, kAboutSecondLine[static_cast<std::size_t>(glyph)]);
        }
    }
    if (ticks_ >= kAboutLastTick) {
        timer_.stop();
    }
}

} // namespace korvane
