// Stand-in for libFuzzer's main where libFuzzer is not linked: replays every file of the
// seed corpus, then feeds seeded pseudo-random mutations of them, so a plain sanitizer
// build still exercises each target on hostile input.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Present in the sanitizer runtimes.
extern "C" void __sanitizer_set_report_fd(void* fd) __attribute__((weak));

namespace {

// The targets tell the user of each damaged file they are fed, on stderr: thousands of
// lines here. As libFuzzer's -close_fd_mask=2 does, the target's stderr is discarded
// while the sanitizers keep reporting to the real one. Without a sanitizer it stays.
void DiscardTargetStderr() {
    if (__sanitizer_set_report_fd == nullptr)
        return;
    const int real = ::dup(2);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (real >= 0 && null >= 0) {
        __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(real)));
        ::dup2(null, 2);
    }
    if (null >= 0)
        ::close(null);
}

std::vector<std::vector<uint8_t>> LoadCorpus(const char* dir) {
    std::vector<std::vector<uint8_t>> corpus;
    std::error_code ec;
    if (dir == nullptr || !std::filesystem::is_directory(dir, ec)) {
        return corpus;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return corpus;
}

std::vector<uint8_t> Mutate(std::vector<uint8_t> input, std::mt19937& rng) {
    std::uniform_int_distribution<int> op(0, 3);
    std::uniform_int_distribution<int> byte(0, 255);
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
        const size_t at = input.empty() ? 0 : rng() % input.size();
        switch (op(rng)) {
            case 0:
                if (!input.empty())
                    input[at] = static_cast<uint8_t>(byte(rng));
                break;
            case 1:
                input.insert(input.begin() + static_cast<long>(at),
                             static_cast<uint8_t>(byte(rng)));
                break;
            case 2:
                if (!input.empty())
                    input.erase(input.begin() + static_cast<long>(at));
                break;
            default:
                input.resize(at);
                break;
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    DiscardTargetStderr();
    auto corpus = LoadCorpus(argc > 1 ? argv[1] : nullptr);
    for (const auto& input : corpus) {
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    // A budget, not a measurement: the seeded sequence is the same every run, and a slow
    // machine simply replays a shorter prefix of it. Keeps each test under two seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);
    std::mt19937 rng(0x5eed);
    const int maxRounds = 20000;
    int rounds = 0;
    for (; rounds < maxRounds && std::chrono::steady_clock::now() < deadline; ++rounds) {
        const int i = rounds;
        std::vector<uint8_t> input;
        if (!corpus.empty() && i % 4 != 0) {
            input = Mutate(corpus[rng() % corpus.size()], rng);
        } else {
            input.resize(rng() % 96);
            for (auto& b : input)
                b = static_cast<uint8_t>(rng());
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("replayed %zu corpus files and %d generated inputs\n", corpus.size(), rounds);
    return 0;
}
