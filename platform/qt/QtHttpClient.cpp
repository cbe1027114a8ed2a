#include "platform/qt/QtHttpClient.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "web/PercentEncoding.h"
#include "web/WebAddress.h"

namespace talvane {

namespace {

using Status = FetchResult::Status;

constexpr qint64 kReadBufferBytes = qint64{1} << 20;

Status statusOf(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyNotFoundError:
        case QNetworkReply::NetworkSessionFailedError:
            return Status::ConnectFailed;
        case QNetworkReply::TimeoutError:
        case QNetworkReply::ProxyTimeoutError:
            return Status::TimedOut;
        case QNetworkReply::TooManyRedirectsError:
        case QNetworkReply::InsecureRedirectError:
        case QNetworkReply::ProtocolUnknownError:  // only a redirect can get here
            return Status::RedirectRefused;
        default:
            return Status::Failed;
    }
}

// Content and server errors (404, 500, ...) still carry a whole response.
bool isHttpStatusError(QNetworkReply::NetworkError error) {
    return (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

// Hands the manager the answer the client keeps for this request.
class FixedProxies : public QNetworkProxyFactory {
  public:
    explicit FixedProxies(QList<QNetworkProxy> proxies) : proxies_(std::move(proxies)) {}
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery&) override { return proxies_; }

  private:
    QList<QNetworkProxy> proxies_;
};

// One request, redirects included, from start to finish inside the worker
// thread. Redirects are followed here rather than by Qt, so that each one is
// checked against the first request's origin before anything goes out.
class Transfer {
  public:
    Transfer(const HttpAddress& address, const HttpLimits& limits, QList<QNetworkProxy> proxies)
        : origin_(address), limits_(limits), proxies_(std::move(proxies)) {}

    // The manager outlives the result: ending it waits for Qt's own HTTP
    // thread, which a response that never ends keeps busy for seconds.
    FetchResult run(QNetworkAccessManager& manager) {
        manager.setProxyFactory(new FixedProxies(proxies_));  // the manager owns it
        manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        QTimer totalTimer;
        totalTimer.setSingleShot(true);
        QObject::connect(&totalTimer, &QTimer::timeout, [this] {
            stop(Status::TimedOut, "no whole response within " +
                                       std::to_string(limits_.totalTimeout.count()) + " ms");
        });
        totalTimer.start(limits_.totalTimeout);
        HttpAddress address = origin_;
        for (int redirects = 0;; ++redirects) {
            const auto location = fetch(manager, address);
            if (stopped_ || !location) break;
            const auto next = ResolveLocation(address, *location);
            if (!next || !SameOrigin(*next, origin_)) {
                result_ = FetchResult::failure(Status::RedirectRefused,
                                               "redirect to another origin: " + *location);
                break;
            }
            if (redirects == limits_.maxRedirects) {
                result_ = FetchResult::failure(
                    Status::RedirectRefused,
                    "more than " + std::to_string(limits_.maxRedirects) + " redirects");
                break;
            }
            address = *next;
        }
        return std::move(result_);
    }

  private:
    // One GET; the Location of a redirect, or nullopt when result_ holds the
    // outcome.
    std::optional<std::string> fetch(QNetworkAccessManager& manager, const HttpAddress& address) {
        QNetworkRequest request(QUrl::fromEncoded(QByteArray::fromStdString(address.toString())));
        request.setRawHeader("Accept-Encoding", "identity");
        QEventLoop loop;
        QTimer connectTimer;
        connectTimer.setSingleShot(true);
        QTimer responseTimer;
        responseTimer.setSingleShot(true);
        body_.clear();
        std::unique_ptr<QNetworkReply> reply(manager.get(request));
        reply_ = reply.get();
        // Qt's network thread would otherwise keep reading a flood into the
        // reply's buffer while this thread waits for a core: a busy machine
        // then held far more than the body limit. A full buffer stops the
        // reading until this side has taken its share.
        reply_->setReadBufferSize(kReadBufferBytes);
        QObject::connect(reply_, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        // The request is out once the connection (name lookup included) is
        // made.
        QObject::connect(reply_, &QNetworkReply::requestSent, &connectTimer, &QTimer::stop);
        QObject::connect(&connectTimer, &QTimer::timeout, [this] {
            stop(Status::TimedOut,
                 "no connection within " + std::to_string(limits_.connectTimeout.count()) + " ms");
        });
        // Qt's parser keeps reading a status line, header or chunk-size line
        // that never ends, rescanning what it holds: a core and tens of
        // megabytes until the total time-out. Once the request is out, each
        // part of the answer that Qt hands over restarts this bound.
        QObject::connect(reply_, &QNetworkReply::requestSent, &responseTimer,
                         [&responseTimer, this] { responseTimer.start(limits_.responseTimeout); });
        QObject::connect(&responseTimer, &QTimer::timeout, [this] {
            stop(Status::TimedOut, "no headers or data for " +
                                       std::to_string(limits_.responseTimeout.count()) + " ms");
        });
        QObject::connect(reply_, &QNetworkReply::metaDataChanged, [&responseTimer, this] {
            responseTimer.start(limits_.responseTimeout);
            onHeaders();
        });
        QObject::connect(reply_, &QNetworkReply::readyRead, [&responseTimer, this] {
            responseTimer.start(limits_.responseTimeout);
            onData();
        });
        connectTimer.start(limits_.connectTimeout);
        if (!stopped_ && !reply_->isFinished()) loop.exec();
        if (stopped_) return std::nullopt;
        return finish();
    }

    void stop(Status status, std::string reason) {
        if (stopped_) return;
        stopped_ = true;
        result_ = FetchResult::failure(status, std::move(reason));
        if (reply_) reply_->abort();
    }

    int httpStatus() const {
        return reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    bool isRedirect() const {
        return httpStatus() >= 300 && httpStatus() < 400 && reply_->hasRawHeader("Location");
    }

    // Refuses a body that announces its excess at once, without reading it.
    void onHeaders() {
        bool known = false;
        const qulonglong length =
            reply_->header(QNetworkRequest::ContentLengthHeader).toULongLong(&known);
        if (!known || isRedirect()) return;
        if (length > limits_.maxBodyBytes) {
            tooLarge();
            return;
        }
        // Growing chunk by chunk would leave up to twice a large body's size
        // behind in the heap once it is freed.
        body_.reserve(static_cast<std::size_t>(length));
    }

    void onData() {
        if (stopped_) return;
        const QByteArray data = reply_->readAll();
        if (body_.size() + static_cast<std::size_t>(data.size()) > limits_.maxBodyBytes) {
            tooLarge();
            return;
        }
        body_.append(data.constData(), static_cast<std::size_t>(data.size()));
    }

    void tooLarge() {
        stop(Status::TooLarge,
             "response body larger than " + std::to_string(limits_.maxBodyBytes) + " bytes");
    }

    std::optional<std::string> finish() {
        onData();
        if (stopped_) return std::nullopt;
        const auto error = reply_->error();
        const QVariant code = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (error == QNetworkReply::NoError || (isHttpStatusError(error) && code.isValid())) {
            if (isRedirect()) return reply_->rawHeader("Location").toStdString();
            result_.status = Status::Ok;
            result_.httpStatus = code.toInt();
            result_.body = std::move(body_);
            return std::nullopt;
        }
        result_ = FetchResult::failure(statusOf(error), reply_->errorString().toStdString());
        return std::nullopt;
    }

    HttpAddress origin_;
    HttpLimits limits_;
    QList<QNetworkProxy> proxies_;  // redirects stay on the origin, so one answer serves all
    QNetworkReply* reply_ = nullptr;
    bool stopped_ = false;
    std::string body_;
    FetchResult result_;
};

}  // namespace

// What the caller and the worker share. A worker that overruns is left
// behind, still holding its share, and writes its late result here alone.
struct QtHttpClient::Outcome {
    std::mutex mutex;
    std::condition_variable arrived;
    bool done = false;
    bool proxiesAsked = false;
    QList<QNetworkProxy> proxies;
    FetchResult result;
};

QList<QNetworkProxy> QtHttpClient::SystemProxies(const QNetworkProxyQuery& query) {
    // Qt's application-wide factory never proxies a loopback address; this
    // asks the system for every address, as curl does.
    return QNetworkProxyFactory::systemProxyForQuery(query);
}

QtHttpClient::QtHttpClient(HttpLimits limits, ProxyLookup proxies)
    : limits_(limits), lookUpProxies_(std::move(proxies)) {}

QtHttpClient::~QtHttpClient() {
    for (auto& worker : leftBehind_) {
        // One still stuck holds nothing of this client; it is let go.
        if (!worker->isFinished()) static_cast<void>(worker.release());
    }
}

FetchResult QtHttpClient::get(std::u16string_view url) {
    const std::string wire = WireUrl(url);
    const auto address = ParseHttpAddress(wire);
    if (!address) {
        return FetchResult::failure(Status::BadAddress,
                                    "not an absolute http or https address: " + wire);
    }
    std::erase_if(leftBehind_, [](const auto& worker) { return worker->isFinished(); });

    // The system's answer for an origin is kept for the session: asking
    // again sets up the proxy library's configuration readers (and their
    // name-service look-ups) at every request. It is asked again after a
    // request that could not reach the service, in case the settings
    // changed.
    const std::string origin = OriginKey(*address);
    auto outcome = std::make_shared<Outcome>();
    if (const auto known = proxies_.find(origin); known != proxies_.end()) {
        outcome->proxies = known->second;
    } else {
        outcome->proxiesAsked = true;
    }
    std::unique_ptr<QThread> worker(
        QThread::create([outcome, address = *address, limits = limits_, lookUp = lookUpProxies_] {
            if (outcome->proxiesAsked) {
                // On the worker: a desktop's proxy script may take its time.
                const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(address.toString()));
                outcome->proxies = lookUp(QNetworkProxyQuery(url));
            }
            QNetworkAccessManager manager;
            FetchResult result = Transfer(address, limits, outcome->proxies).run(manager);
            const std::lock_guard lock(outcome->mutex);
            outcome->result = std::move(result);
            outcome->done = true;
            outcome->arrived.notify_one();
        }));
    // The worker keeps its own time-outs; this one holds even when it is
    // stuck where no timer of its own can fire (a proxy script that never
    // returns).
    const auto deadline = std::chrono::steady_clock::now() + limits_.totalTimeout + kWorkerGrace;
    worker->start();
    std::unique_lock lock(outcome->mutex);
    if (!outcome->arrived.wait_until(lock, deadline, [&] { return outcome->done; })) {
        lock.unlock();
        leftBehind_.push_back(std::move(worker));
        proxies_.erase(origin);
        return FetchResult::failure(
            Status::TimedOut, "no answer within " + std::to_string(limits_.totalTimeout.count()) +
                                  " ms; the request was left behind");
    }
    lock.unlock();
    // It has only to end its manager, which is at once unless Qt's HTTP
    // thread is still busy with what was aborted.
    if (!worker->wait(QDeadlineTimer(kWorkerGrace))) leftBehind_.push_back(std::move(worker));
    FetchResult result = std::move(outcome->result);
    if (result.status == Status::ConnectFailed || result.status == Status::TimedOut) {
        proxies_.erase(origin);
    } else {
        proxies_[origin] = outcome->proxies;
    }
    return result;
}

std::size_t QtHttpClient::workersLeftBehind() const {
    return static_cast<std::size_t>(std::count_if(leftBehind_.begin(), leftBehind_.end(),
                                                  [](const auto& w) { return !w->isFinished(); }));
}

}  // namespace talvane
