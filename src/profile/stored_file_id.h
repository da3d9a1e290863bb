#pragma once
// Ids read from stored documents name files (a custom light's "Guid" names its ".light"
// file). An id that could leave its folder or name anything but a plain file is refused.

#include <functional>
#include <string>
#include <string_view>

inline constexpr size_t kMaxStoredFileIdLength = 128;

// Non-empty, at most kMaxStoredFileIdLength bytes, no path separator, no "..", no control
// character, not "." alone.
bool IsSafeStoredFileId(std::string_view id);

// A new id from the local time ("2026_03_07_09_05_03_042"). Ids made within the same
// millisecond are equal; "_1", "_2", ... keeps the new one apart from those `taken` holds.
std::string NewTimestampId(const std::function<bool(const std::string&)>& taken);

// folder + id + extension (a profile file: the per-user device folder, the profile's id,
// ".Json"); empty when the id is refused, which SetProfilePath takes as "keep the path".
std::wstring StoredFilePath(std::wstring_view folder, std::string_view id,
                            std::wstring_view extension);

// `folder` with exactly one trailing '/' (a trailing '\' becomes '/').
std::string FolderWithSeparator(std::string folder);

// The folder part of `path` up to and including its last '/' or '\', or empty.
std::wstring FolderOfPath(std::wstring_view path);
