// HttpResponseReader on any bytes a server may send: the answer must not
// depend on how the bytes were cut into pieces on their way, a finished
// answer stays finished, and no body grows past its limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/FuzzSupport.h"
#include "web/HttpResponseReader.h"

namespace {

using talvane::HttpResponseReader;
constexpr std::size_t kCap = 512;

struct Answer {
    HttpResponseReader::State state;
    int status;
    std::string body;
    bool operator==(const Answer&) const = default;
};

Answer Read(std::string_view bytes, std::size_t piece) {
    HttpResponseReader reader(kCap);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const auto before = reader.state();
        const auto after = reader.feed(bytes.substr(at, piece));
        FUZZ_CHECK(before == HttpResponseReader::State::NeedMore || after == before);
        FUZZ_CHECK(reader.body().size() <= kCap);
    }
    reader.end();
    FUZZ_CHECK(reader.state() != HttpResponseReader::State::NeedMore);
    FUZZ_CHECK(reader.state() == HttpResponseReader::State::Done || !reader.reason().empty());
    if (reader.headComplete()) FUZZ_CHECK(reader.status() >= 200 && reader.status() <= 999);
    // What a refused body had gathered so far is never handed over.
    const bool done = reader.state() == HttpResponseReader::State::Done;
    return {reader.state(), reader.status(), done ? reader.body() : std::string()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Answer whole = Read(bytes, size + 1);
    FUZZ_CHECK(Read(bytes, 1) == whole);
    FUZZ_CHECK(Read(bytes, 7) == whole);
    return 0;
}
