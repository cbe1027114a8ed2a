#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvane {

// Reads the answer to a GET from the bytes of a connection as they arrive:
// for the Windows client's plain requests straight to the service, which
// need no HTTP library. The body ends where the response says (its length,
// its chunks) or where the connection closes; it is handed over as it came,
// neither decoded nor inflated. Interim answers (1xx) are passed over.
class HttpResponseReader {
  public:
    enum class State {
        NeedMore,  // feed more, or end() when the connection has closed
        Done,      // the whole response is in
        Broken,    // not an HTTP/1 response, or cut off; reason() says how
        TooLarge,  // the body, declared or received, is over the limit
    };

    explicit HttpResponseReader(std::size_t maxBodyBytes);

    State feed(std::string_view bytes);
    // The connection closed: the end of a body without a length, else a
    // response cut off.
    State end();

    State state() const { return state_; }
    // The status line and the headers are in: status() and location() hold.
    bool headComplete() const { return status_ != 0; }
    int status() const { return status_; }
    const std::optional<std::string>& location() const { return location_; }
    const std::string& body() const { return body_; }
    const std::string& reason() const { return reason_; }

  private:
    enum class Phase { Head, Length, ChunkSize, ChunkData, ChunkEnd, Trailer, UntilClose, Over };

    State fail(State state, std::string reason);
    State readHead();
    State parseHead(std::string_view head);
    State startBody(std::optional<std::uint64_t> length, bool chunked);
    State readBody();
    State readChunkSize(std::string_view line);
    State append(std::string_view bytes);

    std::size_t maxBodyBytes_;
    State state_ = State::NeedMore;
    Phase phase_ = Phase::Head;
    std::string pending_;  // received and not yet read
    int status_ = 0;
    std::optional<std::string> location_;
    std::string body_;
    std::uint64_t left_ = 0;  // of the declared length or of the current chunk
    std::string reason_;
};

}  // namespace talvane
