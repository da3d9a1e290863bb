#pragma once
// Whole-file reads and atomic whole-file writes: a crash or a full disk during a save
// leaves the old file whole.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The file's bytes, or nullopt when it cannot be opened or read whole. `errorCode`
// receives errno of the failure (0 on success).
std::optional<std::string> ReadWholeFile(const std::string& path, int* errorCode = nullptr);
// Writes to a temporary file in the same folder, flushes it to disk and renames it over
// `path`. False (and the old file untouched) on any failure.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace platform
