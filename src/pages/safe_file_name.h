#pragma once
// Ids read from files (profile ids, macro Guids) become file names. An id that could
// leave its folder or name something other than a plain file is refused.

#include <string>
#include <string_view>

inline constexpr size_t kMaxFileIdLength = 128;

// Non-empty, at most kMaxFileIdLength bytes, no path separator, no "..", no control
// character, not "." alone.
bool IsSafeFileId(std::string_view id);

// `folder` with exactly one trailing '/' (a trailing '\' becomes '/').
std::string FolderWithSeparator(std::string folder);
