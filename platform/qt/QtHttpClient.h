#pragma once

#include <QList>
#include <QNetworkProxy>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/HttpClient.h"

class QThread;

namespace talvane {

// A synchronous GET through Qt Network. Each request runs on a thread of its
// own, with its own event loop, while the calling thread waits: the caller
// (the user interface's thread) runs no events of its own in the middle of
// a request, as with any blocking call, and between requests no thread of
// this client exists at all. Qt loads its TLS back end only when an https
// address is first used. Proxies come from the system's configuration
// (environment variables and the desktop's settings, as Qt's system proxy
// factory reads them), for every address, loopback included.
// Qt always names an encoding, so the request says "Accept-Encoding:
// identity": nothing compressed is asked for and nothing is inflated.
// The caller waits no longer than the total time-out (and a moment for the
// worker to report its own): a worker stuck beyond it is left to finish on
// its own, sharing nothing with the client but its result, and the request
// ends as TimedOut.
class QtHttpClient : public HttpClient {
  public:
    // Asked on the worker thread, once per origin and session.
    using ProxyLookup = std::function<QList<QNetworkProxy>(const QNetworkProxyQuery&)>;
    static QList<QNetworkProxy> SystemProxies(const QNetworkProxyQuery& query);

    explicit QtHttpClient(HttpLimits limits = {}, ProxyLookup proxies = &SystemProxies);
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

    FetchResult get(std::u16string_view url) override;
    // Workers left behind that have not finished yet.
    std::size_t workersLeftBehind() const;

  private:
    struct Outcome;
    static constexpr std::chrono::milliseconds kWorkerGrace{500};
    HttpLimits limits_;
    ProxyLookup lookUpProxies_;
    std::map<std::string, QList<QNetworkProxy>> proxies_;  // by origin
    std::vector<std::unique_ptr<QThread>> leftBehind_;
};

}  // namespace talvane
