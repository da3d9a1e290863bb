#pragma once
// Keys of the stored profiles follow a macro's deletion: the profiles of one folder share
// its macro list, and name a macro by its place in that list.

#include <string>

// Rewrites the "KeyList" of every profile file in `folder` but the one with id `except`
// (the profile a device holds in memory and stores itself) as FollowMacroDeletion says.
// Returns how many files were rewritten; a file that cannot be read is left as it is.
int FollowMacroDeletionInProfiles(const std::string& folder, const std::string& except,
                                  int deleted);
