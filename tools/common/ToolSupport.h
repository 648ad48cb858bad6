// What the shipped tools share: whole files read and written with a one-line reason on
// failure, and UTF-16 names turned into JSON strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads the whole file. On failure error says why ("PATH: cannot open", ...).
bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
// Replaces the file with bytes.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// A quoted JSON string in UTF-8. An unpaired surrogate stays a \u escape, so the name comes
// out unchanged.
std::string JsonString(std::u16string_view text);
