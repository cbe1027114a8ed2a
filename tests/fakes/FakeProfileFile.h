#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ProfileFile.h"
#include "tests/fakes/CallLog.h"

namespace talvane::testing {

// Settings held in memory, keyed by the exact section and key bytes, with
// the buffer behaviour of the real profile functions. Records every call as
// "GetPrivateProfileStringA <section>/<key>" or
// "WritePrivateProfileStringA <section>/<key>=<value>", also into `log` when
// one is set.
class FakeProfileFile : public ProfileFile {
  public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    int writeResult = 1;  // what a write returns; 0 leaves values unchanged
    std::vector<std::string> calls;
    std::vector<std::string> paths;
    std::string lastDefault;
    std::uint32_t lastSize = 0;
    CallLog* log = nullptr;

    std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                           std::string_view defaultValue, char* buffer,
                                           std::uint32_t size, const std::string& path) override {
        record("GetPrivateProfileStringA " + std::string(section) + "/" + std::string(key), path);
        lastDefault = std::string(defaultValue);
        lastSize = size;
        if (buffer == nullptr || size == 0) return 0;
        const auto found = values.find({std::string(section), std::string(key)});
        const std::string& value = found == values.end() ? lastDefault : found->second;
        const std::size_t count = std::min<std::size_t>(value.size(), size - 1);
        std::memcpy(buffer, value.data(), count);
        buffer[count] = '\0';
        return static_cast<std::uint32_t>(count);
    }

    int WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                   std::string_view value, const std::string& path) override {
        record("WritePrivateProfileStringA " + std::string(section) + "/" + std::string(key) + "=" +
                   std::string(value),
               path);
        if (writeResult != 0) values[{std::string(section), std::string(key)}] = value;
        return writeResult;
    }

  private:
    void record(std::string call, const std::string& path) {
        if (log != nullptr) log->add(call);
        calls.push_back(std::move(call));
        paths.push_back(path);
    }
};

}  // namespace talvane::testing
