#pragma once

// How the model's differences are written: hex numbers as the game's tools show them ("$2F",
// "$0F10") and the small builders the comparisons share.

#include "ModelChange.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane::difftext {

// "$2F" (digits: 2) or "$0F10" (digits: 4), upper case.
std::string Hex(unsigned value, int digits = 2);
std::string Number(unsigned value);
// A JSON string of hex digits, two a byte.
std::string HexString(std::span<const std::uint8_t> bytes);

// Appends a change of a numeric field.
void AddNumber(std::vector<ModelChange>& out, int level, const char* table, int index,
               std::string field, unsigned from, unsigned to, std::string line);

// The number of pixels (of 64) that differ between two 16-byte tiles.
int TilePixels(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

} // namespace korvane::difftext
