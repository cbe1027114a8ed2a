#include "tools/hostile-service/HostileServer.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>

#include "tools/hostile-service/Connection.h"
#include "tools/hostile-service/HostilePages.h"

namespace talvane::hostile {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kSilentLimit{10 * 60 * 1000};
constexpr milliseconds kTrickleInterval{1000};
constexpr std::size_t kRandomAnswerBytes = 64 * 1024;

// Waits for the request head; the connection's event log gets its target.
std::optional<std::string> takeRequest(Connection& connection, int id, const HostileSetup& setup) {
    const std::optional<std::string> line = connection.readRequestHead();
    if (line) {
        setup.log->write(id, "request", requestTarget(*line));
    } else {
        setup.log->write(id, "end", "peer closed before a request");
    }
    return line;
}

std::string_view sent(bool ok) { return ok ? "answer sent" : "peer gone while sending"; }

void serveSilent(Connection& connection, int id, const HostileSetup& setup) {
    const bool closed = connection.waitForPeerClose(kSilentLimit);
    setup.log->write(id, "end", closed ? "peer closed" : "gave up waiting");
}

void serveTrickle(Connection& connection, int id, const HostileSetup& setup) {
    const std::string answer = httpHead("200 OK", setup.page.size()) + setup.page;
    for (const char byte : answer) {
        if (!connection.sendAll(std::string_view(&byte, 1)) ||
            connection.waitForPeerClose(kTrickleInterval)) {
            setup.log->write(id, "end", "peer closed");
            return;
        }
    }
    setup.log->write(id, "end", "answer sent");
}

void serveHuge(Connection& connection, int id, const HostileSetup& setup) {
    // No length: the client only learns the size by reading it.
    bool ok = connection.sendAll(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gbk\r\nConnection: close\r\n\r\n"
        "<span id=\"lblTopics\">");
    const std::string chunk(64 * 1024, 'x');
    for (std::size_t sentBytes = 0; ok && sentBytes < kHugeBodyBytes; sentBytes += chunk.size()) {
        ok = connection.sendAll(chunk);
    }
    ok = ok && connection.sendAll("</span>");
    setup.log->write(id, "end", sent(ok));
}

void serveRedirectLoop(Connection& connection, int id, const HostileSetup& setup,
                       std::string target) {
    // The same connection may carry the next hop; every hop goes back to
    // where it came from.
    for (;;) {
        const bool ok = connection.sendAll("HTTP/1.1 302 Found\r\nLocation: " + target +
                                           "\r\nContent-Length: 0\r\n\r\n");
        if (!ok) break;
        const std::optional<std::string> next = connection.readRequestHead();
        if (!next) break;
        target = requestTarget(*next);
        setup.log->write(id, "request", target);
    }
    setup.log->write(id, "end", "peer closed");
}

void serveOrdinaryAnswer(Connection& connection, int id, const HostileSetup& setup,
                         const std::string& page, std::string_view endEvent) {
    const bool ok = connection.sendAll(httpHead("200 OK", page.size())) && connection.sendAll(page);
    setup.log->write(id, endEvent, sent(ok));
}

}  // namespace

std::string bodyFor(HostileMode mode, std::uint64_t seed, std::string_view otherOrigin) {
    switch (mode) {
        case HostileMode::Trickle:
            return ordinaryPage();
        case HostileMode::Flood:
            return floodPage();
        case HostileMode::Separators:
            return separatorPage();
        case HostileMode::InvalidGbk:
            return invalidGbkPage();
        case HostileMode::RandomPage:
            return randomPage(seed);
        case HostileMode::ForeignLink:
            return foreignLinkPage(otherOrigin);
        default:
            return {};
    }
}

void serveConnection(int fd, int id, const HostileSetup& setup) {
    Connection connection(fd);
    setup.log->write(id, "accept");
    if (setup.mode == HostileMode::Random) {
        // Garbage where the status line should be, then an orderly close.
        const bool ok = connection.sendAll(randomBytes(setup.seed + id, kRandomAnswerBytes));
        setup.log->write(id, "end", sent(ok));
        return;
    }
    const std::optional<std::string> request = takeRequest(connection, id, setup);
    if (!request) return;
    switch (setup.mode) {
        case HostileMode::Silent:
            serveSilent(connection, id, setup);
            return;
        case HostileMode::Trickle:
            serveTrickle(connection, id, setup);
            return;
        case HostileMode::Huge:
            serveHuge(connection, id, setup);
            return;
        case HostileMode::RedirectLoop:
            serveRedirectLoop(connection, id, setup, requestTarget(*request));
            return;
        case HostileMode::Reset:
            connection.reset();
            setup.log->write(id, "end", "reset");
            return;
        case HostileMode::RedirectAway: {
            const bool ok = connection.sendAll(
                "HTTP/1.1 302 Found\r\nLocation: " + setup.otherOrigin + requestTarget(*request) +
                "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            setup.log->write(id, "end", sent(ok));
            return;
        }
        case HostileMode::Random:
        case HostileMode::RandomPage:
        case HostileMode::InvalidGbk:
        case HostileMode::Flood:
        case HostileMode::Separators:
        case HostileMode::ForeignLink:
            serveOrdinaryAnswer(connection, id, setup, setup.page, "end");
            return;
    }
}

void serveOtherOrigin(int fd, int id, const HostileSetup& setup) {
    Connection connection(fd);
    setup.log->write(id, "other-accept");
    const std::optional<std::string> line = connection.readRequestHead();
    if (!line) {
        setup.log->write(id, "other-end", "peer closed before a request");
        return;
    }
    setup.log->write(id, "other-request", requestTarget(*line));
    serveOrdinaryAnswer(connection, id, setup, ordinaryPage(), "other-end");
}

}  // namespace talvane::hostile
