// FileBytes: whole-file reading and writing for the tests, for making inputs (whole, cut short,
// corrupted) and for reading back what a program wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace VantorGLTest {

// The file's bytes; empty when it cannot be opened.
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
// The same bytes as a string (no newline translation); "" when the file cannot be opened.
std::string ReadText(const std::filesystem::path& path);

// Creates or truncates `path` and writes `bytes` (or `text`). False when the file cannot be
// opened or a write fails.
bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
bool WriteText(const std::filesystem::path& path, const std::string& text);

}  // namespace VantorGLTest
