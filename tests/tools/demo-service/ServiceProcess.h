#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace talvane::testing {

// The demo service binary run as a child process, its standard output and
// standard error captured.
class ServiceProcess {
  public:
    explicit ServiceProcess(std::vector<std::string> args);
    ~ServiceProcess();  // kills a child still running
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Port from the "listening on" line, or nullopt when the line did not come.
    std::optional<int> waitUntilListening(std::chrono::milliseconds limit);

    void signal(int number);

    // Exit status, or nullopt when the child is still running after limit
    // or was ended by a signal.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);

    // Everything written so far (read up to the child's exit).
    std::string standardOutput();
    std::string standardError();

  private:
    void drain(int fd, std::string& into, std::chrono::milliseconds limit);

    pid_t pid_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    std::string out_;
    std::string err_;
    bool exited_ = false;
    int status_ = 0;
};

}  // namespace talvane::testing
