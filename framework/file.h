// Whole files in and out, for the few small files the program writes itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Every byte of the file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// Creates or truncates the file and writes the bytes; false when the file
// cannot be created or not everything was written.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);

} // namespace fw
