#include "tools/demo-service/DemoServer.h"

#include <httplib.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tools/demo-service/BrowserPages.h"
#include "tools/demo-service/GbkText.h"

namespace talvane::demo {

struct DemoServer::Impl {
    httplib::Server server;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> runFinished{false};
    std::atomic<bool> stopSent{false};
};

DemoServer::DemoServer(DemoResponder& responder, RequestLog& log)
    : impl_(std::make_unique<Impl>()) {
    auto& server = impl_->server;
    // The library's default adds SO_REUSEPORT, which lets a second service
    // share the port and take half the requests; a busy port must fail.
    server.set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // The library writes a response's headers and its body in two sends;
    // with Nagle's rule the body then waits for the client's delayed
    // acknowledgement of the headers (40 ms on Linux, more elsewhere), a
    // wait a real web server answering a small page in one send never makes
    // its clients pay, and which every start-up against the demo would.
    server.set_tcp_nodelay(true);
    // Logged on arrival rather than after the answer, so that whoever got
    // the answer can already read the line.
    server.set_pre_routing_handler([&log](const httplib::Request& request, httplib::Response&) {
        log.write(requestLogLine(std::time(nullptr), request.method, request.target));
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get(".*", [&responder](const httplib::Request& request, httplib::Response& response) {
        DemoRequest demoRequest{request.path, {}};
        for (const auto& [key, value] : request.params) demoRequest.query.emplace(key, value);
        DemoResponse answer = responder.respond(demoRequest);
        response.status = answer.status;
        response.set_content(std::move(answer.body), kPageContentType);
    });
    // Methods other than GET find no route and come here without a page.
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (response.status == 404 && response.body.empty()) {
            response.set_content(utf8ToGbk(notFoundPage(request.path)), kPageContentType);
        }
    });
}

DemoServer::~DemoServer() = default;

BindResult DemoServer::bind(const std::string& address, int port) {
    auto& server = impl_->server;
    if (port == 0) {
        const int bound = server.bind_to_any_port(address);
        if (bound < 0) return {false, 0, "cannot listen on " + address};
        return {true, bound, {}};
    }
    if (!server.bind_to_port(address, port)) {
        return {false, 0, "cannot listen on " + address + ":" + std::to_string(port)};
    }
    return {true, port, {}};
}

bool DemoServer::run() {
    bool stopped = impl_->stopRequested;
    if (!stopped) {
        impl_->server.listen_after_bind();
        stopped = impl_->stopRequested;
    }
    impl_->runFinished = true;
    return stopped;
}

void DemoServer::stop() {
    impl_->stopRequested = true;
    // The server can only be stopped once it runs; a stop that comes in
    // between bind() and run() waits for one or the other to settle.
    while (!impl_->server.is_running() && !impl_->runFinished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (impl_->server.is_running() && !impl_->stopSent.exchange(true)) impl_->server.stop();
}

}  // namespace talvane::demo
