#include "platform/peer_listener.h"

#include "platform/debug_trace.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cwctype>
#include <mutex>

#include "platform/peer_socket.h"
#include "platform/peer_wire.h"
#include "platform/unique_fd.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "platform/worker_thread.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using peer::PeerRecord;
using peer::PeerRecordReader;
using peer::RecordKind;

// The listen queue holds a burst of starts while the served connections are busy.
constexpr int kBacklog = 512;
// After running out of descriptors, accepting waits this long before trying again.
constexpr auto kAcceptPause = std::chrono::milliseconds(100);

struct Connection {
    uint64_t id = 0;
    UniqueFd fd;
    PeerRecordReader reader;
    Clock::time_point deadline;
    bool awaitingAnswer = false;
    bool done = false;
};

// Where the target window's answers to copy data come back from its thread. Shared with
// the callbacks, which may run after the listener has gone.
struct AnswerBox {
    std::mutex mutex;
    std::vector<std::pair<uint64_t, LRESULT>> answers;
    UniqueFd wake{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};

    void Wake() {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake.get(), &one, sizeof(one));
    }
    void Post(uint64_t id, LRESULT result) {
        {
            std::lock_guard lock(mutex);
            answers.emplace_back(id, result);
        }
        Wake();
    }
    std::vector<std::pair<uint64_t, LRESULT>> Take() {
        uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(wake.get(), &count, sizeof(count));
        std::lock_guard lock(mutex);
        return std::exchange(answers, {});
    }
};

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) ==
                      std::towlower(static_cast<wint_t>(y));
           });
}

// Answers are a few bytes into a connection that has not been written to: they fit the
// socket's buffer, and a peer that does not read them loses only its own answer.
void SendAnswer(Connection& connection, const std::vector<uint8_t>& bytes) {
    [[maybe_unused]] ssize_t n =
        ::send(connection.fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    connection.done = true;
}

int MillisecondsUntil(Clock::time_point when, Clock::time_point now) {
    if (when <= now) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return static_cast<int>(std::min<long long>(ms, 60000));
}

}  // namespace

class PeerListener::Server {
  public:
    explicit Server(Options options)
        : options_(std::move(options)), box_(std::make_shared<AnswerBox>()) {}

    ~Server() {
        thread_.Stop(1000, [this] { box_->Wake(); });
        if (listen_.valid()) {
            ::unlink(path_.c_str());
        }
    }

    bool Start(const std::string& path) {
        if (!box_->wake.valid()) {
            return false;
        }
        listen_ = peer::BindListening(path, kBacklog);
        if (!listen_.valid()) {
            return false;
        }
        path_ = path;
        return thread_.Start([this](Event& stop) { Run(stop); });
    }

  private:
    void Run(Event& stop) {
        std::vector<pollfd> fds;
        while (!stop.IsSet()) {
            const Clock::time_point now = Clock::now();
            const bool accepting = connections_.size() < kMaxConnections && now >= acceptPause_;
            fds.clear();
            fds.push_back({box_->wake.get(), POLLIN, 0});
            fds.push_back({accepting ? listen_.get() : -1, POLLIN, 0});
            for (const Connection& connection : connections_) {
                // A connection waiting for the window's answer is not read from.
                fds.push_back({connection.awaitingAnswer ? -1 : connection.fd.get(), POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), NextTimeout(now)) < 0 && errno != EINTR) {
                break;
            }
            if (fds[0].revents != 0) {
                DeliverAnswers();
            }
            for (size_t i = 0; i < connections_.size(); ++i) {
                if (fds[i + 2].revents != 0) {
                    Read(connections_[i]);
                }
            }
            if (fds[1].revents != 0) {
                Accept();
            }
            Expire();
        }
        // Answers the window gave just before it went still reach their peers.
        DeliverAnswers();
    }

    int NextTimeout(Clock::time_point now) const {
        Clock::time_point next = Clock::time_point::max();
        for (const Connection& connection : connections_) {
            next = std::min(next, connection.deadline);
        }
        if (connections_.size() < kMaxConnections && acceptPause_ > now) {
            next = std::min(next, acceptPause_);
        }
        return next == Clock::time_point::max() ? -1 : MillisecondsUntil(next, now);
    }

    void Accept() {
        while (connections_.size() < kMaxConnections) {
            const int fd = ::accept4(listen_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                    acceptPause_ = Clock::now() + kAcceptPause;
                }
                if (errno == EINTR || errno == ECONNABORTED) {
                    continue;
                }
                return;
            }
            Connection connection;
            connection.id = ++lastId_;
            connection.fd = UniqueFd(fd);
            connection.deadline = Clock::now() + std::chrono::milliseconds(kRecordDeadlineMs);
            connections_.push_back(std::move(connection));
        }
    }

    void Read(Connection& connection) {
        uint8_t buffer[4096];
        // Never more than the record needs: what follows it is not this record's.
        const size_t want = std::min(sizeof(buffer), connection.reader.Missing());
        const ssize_t n = ::recv(connection.fd.get(), buffer, want, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        }
        if (n <= 0) {
            connection.done = true;
            return;
        }
        switch (connection.reader.Feed(std::span<const uint8_t>(buffer, static_cast<size_t>(n)))) {
            case PeerRecordReader::Status::kNeedMore:
                return;
            case PeerRecordReader::Status::kMalformed:
                connection.done = true;
                return;
            case PeerRecordReader::Status::kComplete:
                Dispatch(connection, connection.reader.record());
                return;
        }
    }

    void Dispatch(Connection& connection, const PeerRecord& record) {
        switch (record.kind) {
            case RecordKind::kMessage:
                SendAnswer(connection, peer::EncodeResult(PostAccepted(record) ? 1 : 0));
                return;
            case RecordKind::kDescribe:
                if (!options_.describesTarget) {
                    connection.done = true;
                    return;
                }
                SendAnswer(connection, peer::EncodeDescription(GetWindowClassName(options_.target),
                                                               GetWindowText(options_.target)));
                return;
            case RecordKind::kCopyData:
                SendCopyData(connection, record);
                return;
        }
    }

    // False when the window is closing: a second start then knows to wait for its end.
    bool PostAccepted(const PeerRecord& record) {
        if (IsWindowClosing(options_.target)) {
            return false;
        }
        const auto& accepted = options_.acceptedMessages;
        if (std::any_of(accepted.begin(), accepted.end(),
                        [&](const std::wstring& name) { return SameName(name, record.name); })) {
            // Another program may send faster than the window handles them: beyond a few
            // waiting of one kind, further ones are dropped rather than queued.
            if (!PostMessageBounded(options_.target, RegisterWindowMessage(record.name),
                                    static_cast<WPARAM>(record.wParam),
                                    static_cast<LPARAM>(record.lParam), kMaxWaitingPerMessage)) {
                DebugTrace(L"peers: a message from another program was dropped\n");
            }
        }
        return true;
    }

    // The window answers on its own thread; the connection waits here for that answer
    // without holding up the others.
    void SendCopyData(Connection& connection, const PeerRecord& record) {
        COPYDATASTRUCT data;
        data.dwData = static_cast<ULONG_PTR>(record.copyKind);
        data.cbData = static_cast<DWORD>(record.bytes.size());
        data.lpData = const_cast<uint8_t*>(record.bytes.data());
        const uint64_t id = connection.id;
        auto box = box_;
        connection.awaitingAnswer = true;
        connection.deadline = Clock::now() + std::chrono::milliseconds(kAnswerDeadlineMs);
        if (!options_.acceptsCopyData ||
            !SendMessageCallback(options_.target, WM_COPYDATA, static_cast<WPARAM>(record.wParam),
                                 reinterpret_cast<LPARAM>(&data),
                                 [box, id](LRESULT result) { box->Post(id, result); })) {
            SendAnswer(connection, peer::EncodeResult(0));
        }
    }

    void DeliverAnswers() {
        for (const auto& answer : box_->Take()) {
            const uint64_t id = answer.first;
            auto it = std::find_if(connections_.begin(), connections_.end(),
                                   [id](const Connection& c) { return c.id == id; });
            if (it != connections_.end() && it->awaitingAnswer && !it->done) {
                SendAnswer(*it, peer::EncodeResult(answer.second));
            }
        }
    }

    void Expire() {
        const Clock::time_point now = Clock::now();
        std::erase_if(connections_,
                      [now](const Connection& c) { return c.done || c.deadline <= now; });
    }

    Options options_;
    std::shared_ptr<AnswerBox> box_;
    UniqueFd listen_;
    std::string path_;
    std::vector<Connection> connections_;
    uint64_t lastId_ = 0;
    Clock::time_point acceptPause_{};
    WorkerThread thread_{"peers"};
};

PeerListener::PeerListener(Options options)
    : server_(std::make_unique<Server>(std::move(options))) {}

PeerListener::~PeerListener() = default;

bool PeerListener::Start(const std::string& socketPath) {
    return server_->Start(socketPath);
}

}  // namespace platform
