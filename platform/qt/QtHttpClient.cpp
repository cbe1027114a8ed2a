#include "platform/qt/QtHttpClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

#include "web/PercentEncoding.h"
#include "web/WebAddress.h"

namespace talvane {

namespace {

using Status = FetchResult::Status;

FetchResult failure(Status status, std::string reason) {
    FetchResult result;
    result.status = status;
    result.reason = std::move(reason);
    return result;
}

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

// The system's proxies for every address. Qt's application-wide factory
// never proxies a loopback address; this one asks the system as curl does,
// and changes no state of the process.
class SystemProxies : public QNetworkProxyFactory {
  public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};

// One request, redirects included, from start to finish inside the worker
// thread. Redirects are followed here rather than by Qt, so that each one is
// checked against the first request's origin before anything goes out.
class Transfer {
  public:
    Transfer(const HttpAddress& address, const HttpLimits& limits)
        : origin_(address), limits_(limits) {}

    FetchResult run() {
        QNetworkAccessManager manager;
        manager.setProxyFactory(new SystemProxies);  // the manager owns it
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
                result_ =
                    failure(Status::RedirectRefused, "redirect to another origin: " + *location);
                break;
            }
            if (redirects == limits_.maxRedirects) {
                result_ =
                    failure(Status::RedirectRefused,
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
        body_.clear();
        std::unique_ptr<QNetworkReply> reply(manager.get(request));
        reply_ = reply.get();
        QObject::connect(reply_, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        // The request is out once the connection (name lookup included) is
        // made.
        QObject::connect(reply_, &QNetworkReply::requestSent, &connectTimer, &QTimer::stop);
        QObject::connect(&connectTimer, &QTimer::timeout, [this] {
            stop(Status::TimedOut,
                 "no connection within " + std::to_string(limits_.connectTimeout.count()) + " ms");
        });
        QObject::connect(reply_, &QNetworkReply::metaDataChanged, [this] { onHeaders(); });
        QObject::connect(reply_, &QNetworkReply::readyRead, [this] { onData(); });
        connectTimer.start(limits_.connectTimeout);
        if (!stopped_ && !reply_->isFinished()) loop.exec();
        if (stopped_) return std::nullopt;
        return finish();
    }

    void stop(Status status, std::string reason) {
        if (stopped_) return;
        stopped_ = true;
        result_ = failure(status, std::move(reason));
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
        result_ = failure(statusOf(error), reply_->errorString().toStdString());
        return std::nullopt;
    }

    HttpAddress origin_;
    HttpLimits limits_;
    QNetworkReply* reply_ = nullptr;
    bool stopped_ = false;
    std::string body_;
    FetchResult result_;
};

}  // namespace

QtHttpClient::QtHttpClient(HttpLimits limits) : limits_(limits) {}

FetchResult QtHttpClient::get(std::u16string_view url) {
    const std::string wire = WireUrl(url);
    const auto address = ParseHttpAddress(wire);
    if (!address) {
        return failure(Status::BadAddress, "not an absolute http or https address: " + wire);
    }
    FetchResult result;
    std::unique_ptr<QThread> worker(
        QThread::create([&] { result = Transfer(*address, limits_).run(); }));
    worker->start();
    worker->wait();
    return result;
}

}  // namespace talvane
