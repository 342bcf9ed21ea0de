#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace korvane {

struct CatalogueRow {
    std::string_view name;
    std::uint32_t bankOffset;      // file offset of the row's 8 KB program bank
    std::uint32_t characterOffset; // file offset of a 4 KB character area (reference only)
};

inline constexpr int kCatalogueRows = 19;
inline constexpr int kLevelCount = 16; // rows 0 to 15 are the decoded, editable levels

// Row numbers are the "Level #" of the main view. Rows are not in bank order.
inline constexpr std::array<CatalogueRow, kCatalogueRows> LevelCatalogue{{
    {"Spindle Keep", 0x00010, 0x52010},
    {"Lodestone Keep", 0x02010, 0x51010},
    {"Twinstar Keep", 0x04010, 0x53010},
    {"Anvil Keep", 0x06010, 0x54010},
    {"Gyro Keep", 0x08010, 0x56010},
    {"Serpent Keep", 0x0A010, 0x50010},
    {"Arc Keep", 0x0C010, 0x55010},
    {"Umbra Keep", 0x0E010, 0x57010},
    {"Spindle Keep Revisited", 0x10010, 0x52010},
    {"Twinstar Keep Revisited", 0x12010, 0x53010},
    {"Arc Keep Revisited", 0x14010, 0x55010},
    {"Umbra Keep Revisited", 0x16010, 0x57010},
    {"Vantor 1", 0x18010, 0x58010},
    {"Vantor 2/3/4", 0x1A010, 0x59010},
    {"Keeper Showdown", 0x1E010, 0x58010},
    {"Final Vantor", 0x22010, 0x59010},
    {"Cut scenes", 0x1C010, 0x5C010},
    {"Epilogue", 0x20010, 0x5E010},
    {"Intro screen", 0x26010, 0x5D010},
}};

} // namespace korvane
