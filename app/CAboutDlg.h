#pragma once

// The About box: icon, version, credit link, date, and three tile surfaces that play a short
// animation when a cartridge has been decoded.

#include "gamedata/GameData.h"

#include <QDialog>
#include <QTimer>

#include <array>

class QPushButton;

namespace korvane {

class CLinkStatic;
class CSurfaceWindow;
class DisplayContext;
class UserReporter;

inline constexpr const char* kAboutTitle = "About Korvane";
inline constexpr const char* kVersionText = "Korvane Version 1.0";
inline constexpr const char* kCodedByText = "Coded by";
inline constexpr const char* kCreditText = "The Korvane developers";
inline constexpr const char* kCreditUrl = "mailto:korvane-dev@users.noreply.invalid";
inline constexpr const char* kWebText = "https://korvane.invalid/";
inline constexpr const char* kDateText = "December 2026";

inline constexpr int kAboutFirstPeriod = 1000;
inline constexpr int kAboutSlidePeriod = 30;
inline constexpr int kAboutTextPeriod = 60;
inline constexpr int kAboutSlideTicks = 32;
inline constexpr int kAboutFirstLineTick = 33;
inline constexpr int kAboutLastTick = 65;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(DisplayContext& display, UserReporter& reporter,
              const std::array<std::uint8_t, kAboutTileBytes>& aboutTiles,
              const std::array<std::uint8_t, kAboutTileLargeBytes>& aboutTilesLarge, bool decoded,
              QWidget* parent = nullptr);

    // One tick of the animation timer.
    void AnimationTick();
    int tickCount() const { return ticks_; }
    bool animationRunning() const { return timer_.isActive(); }
    int animationPeriod() const { return timer_.interval(); }
    CSurfaceWindow& surface(int index) { return *surfaces_.at(static_cast<std::size_t>(index)); }
    CLinkStatic& creditLink() { return *credit_; }
    CLinkStatic& webLink() { return *web_; }

private:
    void FillPattern(int surface, int shift);
    void PutGlyph(int column, int row, char character);

    std::array<CSurfaceWindow*, 3> surfaces_{};
    CLinkStatic* credit_;
    CLinkStatic* web_;
    QTimer timer_;
    int ticks_ = 0;
};

} // namespace korvane
