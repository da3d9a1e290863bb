#pragma once
// The program's only diagnostic output: wide texts to a sink. The default sink writes to
// stderr when VELKARO_TRACE=1 and drops everything otherwise; tests capture it.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

void DebugTrace(std::wstring_view text);

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    virtual void Write(std::wstring_view text) = 0;
};

// Installs itself as the process trace sink for its lifetime (tests).
class TraceCapture final : public TraceSink {
  public:
    TraceCapture();
    ~TraceCapture() override;
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    void Write(std::wstring_view text) override;
    std::vector<std::wstring> Lines() const;
    bool Contains(std::wstring_view fragment) const;
    void Clear();

  private:
    TraceSink* previous_;
    mutable std::mutex mutex_;
    std::vector<std::wstring> lines_;
};

}  // namespace platform

// The Parts call it unqualified.
using platform::DebugTrace;
