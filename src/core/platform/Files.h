#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tl {

// Replaces the file at path with bytes: a unique temporary file is written in the same folder
// and renamed over the target, so no reader ever sees the file half written or missing.
// Returns false (and leaves the old file as it was) when the folder cannot be written.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);

bool fileExists(const std::string& path);

// Creates the folder and its parents; an existing folder is no error.
bool createDirectories(const std::string& path);

}  // namespace tl
