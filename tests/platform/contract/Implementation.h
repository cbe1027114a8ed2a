#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace talvane::contract {

// One implementation under a contract suite: its name (the test's suffix)
// and how to make a fresh object of it.
template <typename Interface, typename... Args>
struct Implementation {
    std::string name;
    std::function<std::unique_ptr<Interface>(Args...)> make;

    friend void PrintTo(const Implementation& implementation, std::ostream* out) {
        *out << implementation.name;
    }
};

struct ImplementationName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return info.param.name;
    }
};

}  // namespace talvane::contract
