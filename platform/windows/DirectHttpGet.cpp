#include "platform/windows/DirectHttpGet.h"

// The build defines WIN32_LEAN_AND_MEAN, so windows.h brings no first
// Winsock to clash with winsock2.h.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <variant>

#include "web/HttpResponseReader.h"

namespace talvane::win {

namespace {

using Clock = std::chrono::steady_clock;
using Status = FetchResult::Status;

std::string errorText(const char* what, int error) {
    return std::string(what) + " failed: error " + std::to_string(error);
}

std::wstring wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

DWORD millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<DWORD>(std::clamp<long long>(left, 0, INFINITE - 1));
}

class Winsock {
  public:
    Winsock() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~Winsock() {
        if (started_) WSACleanup();
    }
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
    explicit operator bool() const { return started_; }

  private:
    bool started_ = false;
};

class Socket {
  public:
    explicit Socket(SOCKET s) : s_(s) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const { return s_; }

  private:
    SOCKET s_;
};

struct AddressesDeleter {
    void operator()(ADDRINFOW* list) const { FreeAddrInfoW(list); }
};
using Addresses = std::unique_ptr<ADDRINFOW, AddressesDeleter>;

// A name lookup can take any time and GetAddrInfoW has no time-out of its
// own: it runs on the system's thread pool and the request waits until its
// deadline. A lookup that outlives the wait ends alone and frees its answer.
struct PooledLookup {
    PooledLookup(std::wstring h, std::wstring p)
        : host(std::move(h)),
          port(std::move(p)),
          done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~PooledLookup() {
        if (done != nullptr) CloseHandle(done);
    }
    PooledLookup(const PooledLookup&) = delete;
    PooledLookup& operator=(const PooledLookup&) = delete;

    const std::wstring host;
    const std::wstring port;
    const HANDLE done;
    SRWLOCK lock = SRWLOCK_INIT;
    Addresses answer;
    int error = 0;
};

void CALLBACK runLookup(PTP_CALLBACK_INSTANCE, void* context) {
    const std::unique_ptr<std::shared_ptr<PooledLookup>> owner(
        static_cast<std::shared_ptr<PooledLookup>*>(context));
    PooledLookup& lookup = **owner;
    // Its own hold on Winsock: the request may have given up and let go of
    // its own while the lookup still runs.
    const Winsock winsock;
    ADDRINFOW hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* list = nullptr;
    const int error = GetAddrInfoW(lookup.host.c_str(), lookup.port.c_str(), &hints, &list);
    AcquireSRWLockExclusive(&lookup.lock);
    lookup.answer.reset(list);
    lookup.error = error;
    ReleaseSRWLockExclusive(&lookup.lock);
    SetEvent(lookup.done);
}

// The addresses of the host; an address literal is read at once, a name is
// looked up within the time left.
std::variant<Addresses, FetchResult> addressesOf(const HttpAddress& address,
                                                 Clock::time_point deadline) {
    std::string_view host = address.host;
    if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
    const std::wstring name = wide(host);
    const std::wstring port = std::to_wstring(address.port);
    ADDRINFOW hints{};
    hints.ai_flags = AI_NUMERICHOST;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* list = nullptr;
    if (GetAddrInfoW(name.c_str(), port.c_str(), &hints, &list) == 0) return Addresses(list);

    auto lookup = std::make_shared<PooledLookup>(name, port);
    auto context = std::make_unique<std::shared_ptr<PooledLookup>>(lookup);
    if (lookup->done == nullptr ||
        !TrySubmitThreadpoolCallback(runLookup, context.get(), nullptr)) {
        return FetchResult::failure(Status::Failed, errorText("starting the name lookup",
                                                              static_cast<int>(GetLastError())));
    }
    context.release();  // the callback owns it now
    if (WaitForSingleObject(lookup->done, millisecondsUntil(deadline)) != WAIT_OBJECT_0) {
        return FetchResult::failure(Status::TimedOut,
                                    "no address for " + address.host + " in time");
    }
    AcquireSRWLockExclusive(&lookup->lock);
    Addresses answer = std::move(lookup->answer);
    const int error = lookup->error;
    ReleaseSRWLockExclusive(&lookup->lock);
    if (error != 0 || !answer) {
        return FetchResult::failure(Status::ConnectFailed,
                                    errorText(("looking up " + address.host).c_str(), error));
    }
    return answer;
}

// Waits until the socket can be read (or written) or the deadline passes.
bool waitFor(SOCKET s, bool write, Clock::time_point deadline) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    const DWORD ms = millisecondsUntil(deadline);
    timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
    return select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &wait) > 0;
}

std::variant<std::unique_ptr<Socket>, FetchResult> connectTo(const ADDRINFOW* list,
                                                             Clock::time_point deadline) {
    int lastError = 0;
    bool timedOut = false;
    int attempts = 0;
    for (const ADDRINFOW* a = list; a != nullptr && attempts < kConnectAttempts; a = a->ai_next) {
        if (a->ai_family != AF_INET && a->ai_family != AF_INET6) continue;
        ++attempts;
        const int left = static_cast<int>(millisecondsUntil(deadline));
        if (left == 0) break;
        // Each attempt gets its share of the time left, the last all of it.
        const bool last = attempts == kConnectAttempts || a->ai_next == nullptr;
        const auto attemptEnd = Clock::now() + std::chrono::milliseconds(last ? left : left / 2);
        auto s = std::make_unique<Socket>(socket(a->ai_family, a->ai_socktype, a->ai_protocol));
        if (s->get() == INVALID_SOCKET) {
            lastError = WSAGetLastError();
            continue;
        }
        u_long nonBlocking = 1;
        if (ioctlsocket(s->get(), FIONBIO, &nonBlocking) != 0) {
            lastError = WSAGetLastError();
            continue;
        }
        if (connect(s->get(), a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0) return s;
        lastError = WSAGetLastError();
        if (lastError != WSAEWOULDBLOCK) continue;
        if (!waitFor(s->get(), true, attemptEnd)) {
            // Not ready in time, or refused: the socket's error says which.
            int error = 0;
            int size = sizeof error;
            getsockopt(s->get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
            if (error == 0) {
                timedOut = true;
            } else {
                lastError = error;
            }
            continue;
        }
        int error = 0;
        int size = sizeof error;
        if (getsockopt(s->get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) ==
                0 &&
            error == 0) {
            return s;
        }
        lastError = error;
    }
    if (timedOut || millisecondsUntil(deadline) == 0) {
        return FetchResult::failure(Status::TimedOut, "no connection within the connect time-out");
    }
    return FetchResult::failure(Status::ConnectFailed, errorText("connect", lastError));
}

bool sendAll(SOCKET s, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const int sent = send(s, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (WSAGetLastError() != WSAEWOULDBLOCK || !waitFor(s, true, deadline)) {
            return false;
        }
    }
    return true;
}

}  // namespace

FetchResult DirectHttpGet(const HttpAddress& address, const HttpLimits& limits,
                          Clock::time_point deadline, std::optional<std::string>& location) {
    const Winsock winsock;
    if (!winsock) return FetchResult::failure(Status::Failed, "Winsock is not available");
    const auto connectDeadline = std::min(deadline, Clock::now() + limits.connectTimeout);
    auto addresses = addressesOf(address, connectDeadline);
    if (auto* failed = std::get_if<FetchResult>(&addresses)) return std::move(*failed);
    auto connected = connectTo(std::get<Addresses>(addresses).get(), connectDeadline);
    if (auto* failed = std::get_if<FetchResult>(&connected)) return std::move(*failed);
    const SOCKET s = std::get<std::unique_ptr<Socket>>(connected)->get();

    // Asks for nothing compressed; the connection ends with the answer.
    const std::string request = "GET " + address.target + " HTTP/1.1\r\nHost: " + address.host +
                                (address.port == 80 ? "" : ":" + std::to_string(address.port)) +
                                "\r\nConnection: close\r\n\r\n";
    if (!sendAll(s, request, deadline)) {
        return millisecondsUntil(deadline) == 0
                   ? FetchResult::failure(Status::TimedOut, "the request could not be sent in time")
                   : FetchResult::failure(Status::ConnectFailed,
                                          errorText("send", WSAGetLastError()));
    }

    HttpResponseReader reader(limits.maxBodyBytes);
    char chunk[16384];
    while (reader.state() == HttpResponseReader::State::NeedMore) {
        // The answer, and each piece of it, within the response time-out.
        const auto wait = std::min(deadline, Clock::now() + limits.responseTimeout);
        if (!waitFor(s, false, wait)) {
            return FetchResult::failure(Status::TimedOut, "no whole response in time");
        }
        const int got = recv(s, chunk, sizeof chunk, 0);
        if (got > 0) {
            reader.feed(std::string_view(chunk, static_cast<std::size_t>(got)));
        } else if (got == 0) {
            reader.end();
        } else if (WSAGetLastError() != WSAEWOULDBLOCK) {
            return FetchResult::failure(Status::ConnectFailed,
                                        errorText("recv", WSAGetLastError()));
        }
        if (reader.headComplete() && reader.status() >= 300 && reader.status() < 400 &&
            reader.location()) {
            location = *reader.location();
            return {};
        }
    }
    switch (reader.state()) {
        case HttpResponseReader::State::Done: {
            FetchResult result;
            result.status = Status::Ok;
            result.httpStatus = reader.status();
            result.body = reader.body();
            return result;
        }
        case HttpResponseReader::State::TooLarge:
            return FetchResult::failure(Status::TooLarge, reader.reason());
        case HttpResponseReader::State::Broken:
        case HttpResponseReader::State::NeedMore:
            break;
    }
    return FetchResult::failure(Status::Failed, reader.reason());
}

}  // namespace talvane::win
