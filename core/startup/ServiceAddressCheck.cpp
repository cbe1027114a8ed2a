// Reads the service address compiled in by the rule the program applies at
// every start, so that a build for an address the program would refuse
// fails while it is built rather than on a user's desktop.
#include <cstdio>

#include "service/ServiceBaseUrl.h"

int main() {
    if (const auto problem = talvane::ServiceBaseUrlProblem(nullptr)) {
        std::fprintf(stderr, "%s\n", problem->c_str());
        return 1;
    }
    return 0;
}
