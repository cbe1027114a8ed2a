#include "web/HttpResponseReader.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace talvane {

namespace {

// A service's head is a few hundred bytes; these only stop a server that
// never ends a line from filling memory until the deadline.
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr std::size_t kMaxLineBytes = 8 * 1024;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

bool isTokenChar(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits only. A length of more than 18 digits is over any limit;
// it comes back as the largest value rather than as an overflow.
std::optional<std::uint64_t> decimal(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
    if (text.size() > 18) return UINT64_MAX;
    std::uint64_t value = 0;
    for (const char c : text) value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return value;
}

struct Field {
    std::string name;
    std::string value;
};

// Splits a list header ("chunked, gzip"; "5, 5") into its trimmed members.
std::vector<std::string_view> members(std::string_view value) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0; at <= value.size();) {
        const std::size_t comma = std::min(value.find(',', at), value.size());
        const std::string_view member = trim(value.substr(at, comma - at));
        if (!member.empty()) out.push_back(member);
        at = comma + 1;
    }
    return out;
}

}  // namespace

HttpResponseReader::HttpResponseReader(std::size_t maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}

HttpResponseReader::State HttpResponseReader::fail(State state, std::string reason) {
    state_ = state;
    phase_ = Phase::Over;
    reason_ = std::move(reason);
    pending_.clear();
    return state_;
}

HttpResponseReader::State HttpResponseReader::feed(std::string_view bytes) {
    if (state_ != State::NeedMore) return state_;
    pending_.append(bytes);
    while (state_ == State::NeedMore && !pending_.empty()) {
        const std::size_t before = pending_.size();
        const Phase phase = phase_;
        if (phase_ == Phase::Head) {
            readHead();
        } else {
            readBody();
        }
        // Nothing taken and the phase unchanged: more bytes are needed.
        if (pending_.size() == before && phase_ == phase) break;
    }
    if (state_ == State::Done) pending_.clear();
    return state_;
}

HttpResponseReader::State HttpResponseReader::end() {
    if (state_ != State::NeedMore) return state_;
    if (phase_ == Phase::UntilClose) {
        state_ = State::Done;
        phase_ = Phase::Over;
        return state_;
    }
    return fail(State::Broken, phase_ == Phase::Head && status_ == 0 && pending_.empty()
                                   ? "the connection closed without an answer"
                                   : "the connection closed before the whole response");
}

HttpResponseReader::State HttpResponseReader::readHead() {
    // Empty lines before a status line are passed over, as after an interim
    // answer some servers send one.
    std::size_t start = 0;
    while (start < pending_.size() && (pending_[start] == '\r' || pending_[start] == '\n')) ++start;
    pending_.erase(0, start);
    // The head ends at the first empty line, with or without its CR.
    std::size_t end = std::string::npos;
    for (std::size_t lf = pending_.find('\n'); lf != std::string::npos;
         lf = pending_.find('\n', lf + 1)) {
        if (lf + 1 < pending_.size() && pending_[lf + 1] == '\n') {
            end = lf + 2;
            break;
        }
        if (lf + 2 < pending_.size() && pending_[lf + 1] == '\r' && pending_[lf + 2] == '\n') {
            end = lf + 3;
            break;
        }
    }
    // Measured where the head ends as well, so that how the bytes arrived
    // never changes the answer.
    if (end == std::string::npos ? pending_.size() > kMaxHeadBytes : end > kMaxHeadBytes) {
        return fail(State::Broken, "the response head never ends");
    }
    if (end == std::string::npos) return state_;
    const std::string head = pending_.substr(0, end);
    pending_.erase(0, end);
    return parseHead(head);
}

HttpResponseReader::State HttpResponseReader::parseHead(std::string_view head) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < head.size();) {
        const std::size_t lf = head.find('\n', at);
        std::string_view line = head.substr(at, lf - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) lines.push_back(line);
        at = lf + 1;
    }
    // "HTTP/1.x 200" with or without a reason phrase.
    const std::string_view statusLine = lines.empty() ? std::string_view() : lines.front();
    if (statusLine.size() < 12 || statusLine.substr(0, 7) != "HTTP/1." || !isDigit(statusLine[7]) ||
        statusLine[8] != ' ' || !isDigit(statusLine[9]) || !isDigit(statusLine[10]) ||
        !isDigit(statusLine[11]) || (statusLine.size() > 12 && statusLine[12] != ' ')) {
        return fail(State::Broken, "not an HTTP/1 response");
    }
    const int status =
        (statusLine[9] - '0') * 100 + (statusLine[10] - '0') * 10 + (statusLine[11] - '0');
    if (status < 100) return fail(State::Broken, "not an HTTP/1 response");

    std::vector<Field> fields;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (isBlank(line.front())) {
            // A folded line continues the field before it.
            if (fields.empty()) return fail(State::Broken, "a folded line before any header");
            fields.back().value += ' ';
            fields.back().value += trim(line);
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == 0 || colon == std::string_view::npos ||
            !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                         isTokenChar)) {
            return fail(State::Broken, "a header line that is not a header");
        }
        fields.push_back(
            {std::string(line.substr(0, colon)), std::string(trim(line.substr(colon + 1)))});
    }

    if (status == 101) return fail(State::Broken, "the server switched protocols unasked");
    if (status < 200) return state_;  // an interim answer; the real one follows

    status_ = status;
    std::optional<std::uint64_t> length;
    bool chunked = false;
    bool encoded = false;
    for (const Field& field : fields) {
        if (equalsIgnoringCase(field.name, "Location")) {
            if (!location_) location_ = field.value;
        } else if (equalsIgnoringCase(field.name, "Transfer-Encoding")) {
            const auto codings = members(field.value);
            encoded = true;
            chunked = !codings.empty() && equalsIgnoringCase(codings.back(), "chunked");
        } else if (equalsIgnoringCase(field.name, "Content-Length")) {
            // Repeated lengths must agree; two that differ leave the body's
            // end to guesswork.
            const auto values = members(field.value);
            if (values.empty()) return fail(State::Broken, "an empty Content-Length");
            for (const std::string_view value : values) {
                const auto parsed = decimal(value);
                if (!parsed || (length && *length != *parsed)) {
                    return fail(State::Broken, "a Content-Length that is not one number");
                }
                length = parsed;
            }
        }
    }
    if (status == 204 || status == 304) {
        phase_ = Phase::Over;
        state_ = State::Done;
        return state_;
    }
    // A transfer coding decides over a length; one that is not chunked
    // runs until the connection closes.
    if (encoded) return startBody(std::nullopt, chunked);
    return startBody(length, false);
}

HttpResponseReader::State HttpResponseReader::startBody(std::optional<std::uint64_t> length,
                                                        bool chunked) {
    if (chunked) {
        phase_ = Phase::ChunkSize;
    } else if (!length) {
        phase_ = Phase::UntilClose;
    } else if (*length > maxBodyBytes_) {
        return fail(State::TooLarge, "the response declares a body of " + std::to_string(*length) +
                                         " bytes, over the limit of " +
                                         std::to_string(maxBodyBytes_));
    } else if (*length == 0) {
        phase_ = Phase::Over;
        state_ = State::Done;
    } else {
        phase_ = Phase::Length;
        left_ = *length;
    }
    return state_;
}

HttpResponseReader::State HttpResponseReader::append(std::string_view bytes) {
    if (body_.size() + bytes.size() > maxBodyBytes_) {
        return fail(State::TooLarge, "the response body is over the limit of " +
                                         std::to_string(maxBodyBytes_) + " bytes");
    }
    body_.append(bytes);
    return state_;
}

HttpResponseReader::State HttpResponseReader::readChunkSize(std::string_view line) {
    // The size in hex; extensions after ';' are passed over.
    const std::string_view size = trim(line.substr(0, line.find(';')));
    const std::size_t digits = size.find_first_not_of("0123456789abcdefABCDEF");
    if (size.empty() || digits != std::string_view::npos) {
        return fail(State::Broken, "a chunk size that is not a number");
    }
    std::uint64_t value = 0;
    for (const char c : size) {
        if (value > (UINT64_MAX >> 4)) {
            return fail(State::TooLarge,
                        "a chunk over the limit of " + std::to_string(maxBodyBytes_) + " bytes");
        }
        const char l = lower(c);
        value = (value << 4) | static_cast<std::uint64_t>(isDigit(l) ? l - '0' : l - 'a' + 10);
    }
    if (value == 0) {
        phase_ = Phase::Trailer;
    } else if (value > maxBodyBytes_ - body_.size()) {
        return fail(State::TooLarge, "the response body is over the limit of " +
                                         std::to_string(maxBodyBytes_) + " bytes");
    } else {
        phase_ = Phase::ChunkData;
        left_ = value;
    }
    return state_;
}

HttpResponseReader::State HttpResponseReader::readBody() {
    switch (phase_) {
        case Phase::Length:
        case Phase::ChunkData: {
            const std::size_t take =
                static_cast<std::size_t>(std::min<std::uint64_t>(left_, pending_.size()));
            if (append(std::string_view(pending_).substr(0, take)) != State::NeedMore)
                return state_;
            pending_.erase(0, take);
            left_ -= take;
            if (left_ > 0) return state_;
            if (phase_ == Phase::ChunkData) {
                phase_ = Phase::ChunkEnd;
            } else {
                phase_ = Phase::Over;
                state_ = State::Done;
            }
            return state_;
        }
        case Phase::UntilClose:
            if (append(pending_) != State::NeedMore) return state_;
            pending_.clear();
            return state_;
        case Phase::ChunkSize:
        case Phase::ChunkEnd:
        case Phase::Trailer: {
            const std::size_t lf = pending_.find('\n');
            if (lf == std::string::npos ? pending_.size() > kMaxLineBytes : lf > kMaxLineBytes) {
                return fail(State::Broken, "a chunk line never ends");
            }
            if (lf == std::string::npos) return state_;
            std::string line = pending_.substr(0, lf);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            pending_.erase(0, lf + 1);
            if (phase_ == Phase::ChunkEnd) {
                if (!line.empty()) return fail(State::Broken, "a chunk longer than its size");
                phase_ = Phase::ChunkSize;
            } else if (phase_ == Phase::Trailer) {
                if (line.empty()) {
                    phase_ = Phase::Over;
                    state_ = State::Done;
                }
            } else {
                return readChunkSize(line);
            }
            return state_;
        }
        case Phase::Head:
        case Phase::Over:
            break;
    }
    return state_;
}

}  // namespace talvane
