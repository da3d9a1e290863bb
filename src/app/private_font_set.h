#pragma once
// The program's own fonts, registered for the life of this object: loaded from the
// instance folder's "Font" folder at start and removed at exit.

#include <string>
#include <vector>

class PrivateFontSet {
  public:
    // `fontFolder` ends with a separator. Fonts that cannot be read are skipped.
    explicit PrivateFontSet(const std::string& fontFolder);
    ~PrivateFontSet();
    PrivateFontSet(const PrivateFontSet&) = delete;
    PrivateFontSet& operator=(const PrivateFontSet&) = delete;

    int LoadedCount() const { return static_cast<int>(handles_.size()); }

  private:
    std::vector<int> handles_;
};
