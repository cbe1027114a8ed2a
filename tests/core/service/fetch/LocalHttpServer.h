#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/core/service/fetch/LoopbackSockets.h"

namespace talvane::testing {

// A real HTTP server on 127.0.0.1 and an ephemeral port, serving in its own
// thread. Routes are added before start(); every request's raw target (path
// and query as they came over the wire) is recorded before it is answered.
class LocalHttpServer {
  public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    LocalHttpServer() { port_ = server_.bind_to_any_port("127.0.0.1"); }
    ~LocalHttpServer() {
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void on(const std::string& path, Handler handler) {
        server_.Get(path, [this, handler](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                targets_.push_back(req.target);
            }
            handler(req, res);
        });
    }

    void start() {
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() before the loop runs would be lost and join() would hang.
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    int port() const { return port_; }
    std::u16string baseUrl() const { return LoopbackUrl(port_); }
    std::u16string url(std::u16string_view pathAndQuery) const {
        return baseUrl() + std::u16string(pathAndQuery);
    }
    std::vector<std::string> targets() const {
        std::lock_guard lock(mutex_);
        return targets_;
    }

  private:
    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
};

}  // namespace talvane::testing
