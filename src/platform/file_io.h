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
// `path`. False (and the old file untouched) on any failure; the user is told of it.
// Temporaries that a killed earlier run left in the folder go first.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, int* errorCode = nullptr);

// A file that does not hold what it should is about to be replaced by defaults: keeps
// `bytes` (its contents) beside it as "<path>.corrupt", or ".corrupt.2", ".corrupt.3", ...
// when that name is taken, so that a kept copy is never replaced, and tells the user,
// naming the file, `reason` and the copy. A copy that already holds these bytes is not
// made again. False when no copy could be made (the user is told that too): the caller
// must then leave the file be.
bool SetDamagedFileAside(const std::string& path, std::string_view bytes, std::string_view reason);

}  // namespace platform
