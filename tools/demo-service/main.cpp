// talvane-demo-service: stands in for the web-seminar service on this machine.
// See README.md beside this file.

#include <pthread.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/demo-service/DefaultDataFile.h"
#include "tools/demo-service/DemoData.h"
#include "tools/demo-service/DemoOptions.h"
#include "tools/demo-service/DemoResponder.h"
#include "tools/demo-service/DemoServer.h"
#include "tools/demo-service/RequestLog.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "talvane-demo-service: %s\n", message.c_str());
    return 1;
}

std::string urlHost(const std::string& address) {
    return address.find(':') == std::string::npos ? address : "[" + address + "]";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace talvane::demo;

    // Blocked from the start: the server's threads inherit the mask, so only
    // the waiter below sees these signals, and one that comes while the data
    // loads waits for it instead of killing the process.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const auto parsed = parseDemoOptions(std::vector<std::string_view>(argv + 1, argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "talvane-demo-service: %s (see --help)\n", parsed.error.c_str());
        return 2;
    }
    const DemoOptions& options = parsed.options;
    if (options.help) {
        std::fputs(kDemoUsage, stdout);
        return 0;
    }

    const auto dataPath = options.dataFile ? options.dataFile : defaultDataFile();
    if (!dataPath) return fail(std::string("no ") + kDataFileName + " found; give --data FILE");
    auto loaded = loadDemoDataFile(*dataPath);
    if (!loaded.ok) return fail(*dataPath + ": " + loaded.error);

    RequestLog log;
    if (options.logFile && !log.openFile(*options.logFile)) {
        return fail("cannot append to " + *options.logFile);
    }

    DemoResponder responder(std::move(loaded.data));
    DemoServer server(responder, log);
    const BindResult bound = server.bind(options.bindAddress, options.port);
    if (!bound.ok) return fail(bound.error);

    std::atomic<bool> signalled{false};
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        signalled = true;
        server.stop();
    });

    std::printf("listening on http://%s:%d\n", urlHost(options.bindAddress).c_str(), bound.port);
    std::fflush(stdout);

    const bool stopped = server.run();
    if (!signalled) pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return stopped ? 0 : 1;
}
