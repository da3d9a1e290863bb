#pragma once
// An environment variable set (or removed) for the lifetime of the object.

#include <optional>
#include <string>

namespace testing_support {

class ScopedEnv {
  public:
    // nullopt removes the variable.
    ScopedEnv(const char* name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace testing_support
