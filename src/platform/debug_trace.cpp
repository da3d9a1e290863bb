#include "platform/debug_trace.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/no_destructor.h"
#include "platform/text_convert.h"

namespace platform {
namespace {

class StderrSink final : public TraceSink {
  public:
    void Write(std::wstring_view text) override {
        const std::string bytes = Utf8Encode(text);
        std::lock_guard<std::mutex> lock(mutex_);
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
        if (bytes.empty() || bytes.back() != '\n')
            std::fputc('\n', stderr);
    }

  private:
    std::mutex mutex_;
};

TraceSink* DefaultSink() {
    static NoDestructor<StderrSink> sink;
    const char* flag = std::getenv("VELKARO_TRACE");
    static const bool enabled = flag != nullptr && std::strcmp(flag, "1") == 0;
    return enabled ? sink.get() : nullptr;
}

std::atomic<TraceSink*>& InstalledSink() {
    static std::atomic<TraceSink*> sink{nullptr};
    return sink;
}

}  // namespace

void DebugTrace(std::wstring_view text) {
    TraceSink* sink = InstalledSink().load();
    if (sink == nullptr)
        sink = DefaultSink();
    if (sink != nullptr)
        sink->Write(text);
}

TraceCapture::TraceCapture() : previous_(InstalledSink().exchange(this)) {}

TraceCapture::~TraceCapture() {
    InstalledSink().store(previous_);
}

void TraceCapture::Write(std::wstring_view text) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.emplace_back(text);
}

std::vector<std::wstring> TraceCapture::Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

bool TraceCapture::Contains(std::wstring_view fragment) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& line : lines_) {
        if (line.find(fragment) != std::wstring::npos)
            return true;
    }
    return false;
}

void TraceCapture::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

}  // namespace platform
