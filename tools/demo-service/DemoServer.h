#pragma once

#include <memory>
#include <string>

#include "tools/demo-service/DemoResponder.h"
#include "tools/demo-service/RequestLog.h"

namespace talvane::demo {

struct BindResult {
    bool ok = false;
    int port = 0;  // the port actually bound, also when 0 was asked for
    std::string error;
};

// The HTTP side: logs every request as it arrives and answers GETs through
// the responder. Other ways of answering (slow, broken, oversized) belong
// here as alternatives to the responder's pages.
class DemoServer {
  public:
    DemoServer(DemoResponder& responder, RequestLog& log);
    ~DemoServer();
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

    // Once bound, connections queue up even before run() is called.
    BindResult bind(const std::string& address, int port);

    // Serves until stop(); true when it ended because of stop().
    bool run();

    // Once bound: may be called from any thread, before or during run().
    void stop();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace talvane::demo
