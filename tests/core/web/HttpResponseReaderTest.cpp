#include "web/HttpResponseReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvane {
namespace {

using State = HttpResponseReader::State;

const char* Name(State state) {
    switch (state) {
        case State::NeedMore:
            return "NeedMore";
        case State::Done:
            return "Done";
        case State::Broken:
            return "Broken";
        case State::TooLarge:
            return "TooLarge";
    }
    return "?";
}

// "State status body", the connection closed after the bytes when `closed`.
std::string Read(const std::string& bytes, std::size_t piece, bool closed, std::size_t cap = 16) {
    HttpResponseReader reader(cap);
    for (std::size_t at = 0; at < bytes.size() && reader.state() == State::NeedMore; at += piece) {
        reader.feed(std::string_view(bytes).substr(at, piece));
    }
    if (closed) reader.end();
    std::string out = Name(reader.state());
    if (reader.state() == State::Done)
        out += " " + std::to_string(reader.status()) + " " + reader.body();
    return out;
}

struct Case {
    const char* name;
    std::string bytes;
    bool closed;  // the server closes the connection after the bytes
    std::string expected;
};

// Every case is read whole, then a byte at a time, then in pieces of three:
// where a piece ends must never change the answer.
TEST(HttpResponseReader, ReadsWhereTheBodyEnds_HoweverTheBytesArrive) {
    const std::vector<Case> cases = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", false, "Done 200 hello"},
        {"length, extra bytes after it", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhello", false,
         "Done 200 he"},
        {"length, cut off", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello", true, "Broken"},
        {"length, waiting", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello", false, "NeedMore"},
        {"zero length", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n", false, "Done 404 "},
        {"no reason phrase, bare LF", "HTTP/1.0 500\nContent-Length: 1\n\nx", false, "Done 500 x"},
        {"until close", "HTTP/1.0 200 OK\r\nServer: s\r\n\r\nuntil close", true,
         "Done 200 until close"},
        {"until close, still open", "HTTP/1.0 200 OK\r\n\r\nabc", false, "NeedMore"},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: "
         "chunked\r\n\r\n3\r\nabc\r\n2;x=y\r\nde\r\n0\r\n\r\n",
         false, "Done 200 abcde"},
        {"chunked, trailer and upper-case size",
         "HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\nA\r\n0123456789\r\n0\r\nT: "
         "v\r\n\r\n",
         false, "Done 200 0123456789"},
        {"chunked decides over a length",
         "HTTP/1.1 200 OK\r\nContent-Length: 99\r\nTransfer-Encoding: "
         "chunked\r\n\r\n1\r\nz\r\n0\r\n\r\n",
         false, "Done 200 z"},
        {"chunked, cut off", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab", true,
         "Broken"},
        {"chunk longer than its size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nab\r\n0\r\n\r\n", false,
         "Broken"},
        {"chunk size not a number", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
         false, "Broken"},
        {"another coding runs until close",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n\x1f\x8b", true, "Done 200 \x1f\x8b"},
        {"interim answers passed over",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: x\r\n\r\nHTTP/1.1 200 "
         "OK\r\n"
         "Content-Length: 2\r\n\r\nok",
         false, "Done 200 ok"},
        {"no body on 204 and 304", "HTTP/1.1 304 Not Modified\r\nContent-Length: 7\r\n\r\n", false,
         "Done 304 "},
        {"folded header", "HTTP/1.1 200 OK\r\nX: a\r\n b\r\nContent-Length: 1\r\n\r\n!", false,
         "Done 200 !"},
        {"repeated equal lengths",
         "HTTP/1.1 200 OK\r\nContent-Length: 1, 1\r\nContent-Length: 1\r\n\r\n#", false,
         "Done 200 #"},
        {"lengths that differ",
         "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", false, "Broken"},
        {"length not a number", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, "Broken"},
        {"not HTTP", "SSH-2.0-OpenSSH_9.2\r\n\r\n", false, "Broken"},
        {"HTTP/2 preface", "HTTP/2 200\r\n\r\n", false, "Broken"},
        {"header without a colon", "HTTP/1.1 200 OK\r\nnonsense\r\n\r\n", false, "Broken"},
        {"blank before the colon", "HTTP/1.1 200 OK\r\nContent-Length : 1\r\n\r\nx", false,
         "Broken"},
        {"switching protocols", "HTTP/1.1 101 Switching Protocols\r\n\r\n", false, "Broken"},
        {"closed at once", "", true, "Broken"},
        {"closed inside the head", "HTTP/1.1 200 OK\r\nContent-", true, "Broken"},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {c.bytes.size() + 1, std::size_t{1}, std::size_t{3}}) {
            EXPECT_EQ(Read(c.bytes, piece, c.closed), c.expected)
                << c.name << ", pieces of " << piece;
        }
    }
}

TEST(HttpResponseReader, RefusesABodyOverTheLimit_AsSoonAsItIsKnown) {
    const std::vector<Case> cases = {
        {"at the limit", "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nabcd", false,
         "Done 200 abcd"},
        {"declared, not yet sent", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", false,
         "TooLarge"},
        {"declared, past 64 bits",
         "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", false, "TooLarge"},
        {"chunked at the limit",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n2\r\ncd\r\n0\r\n\r\n",
         false, "Done 200 abcd"},
        {"a chunk that would pass it, before its bytes",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\n", false,
         "TooLarge"},
        {"a chunk size past 64 bits",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1ffffffffffffffff\r\n", false,
         "TooLarge"},
        {"until close", "HTTP/1.1 200 OK\r\n\r\nabcde", false, "TooLarge"},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {c.bytes.size() + 1, std::size_t{1}}) {
            EXPECT_EQ(Read(c.bytes, piece, c.closed, 4), c.expected)
                << c.name << ", pieces of " << piece;
        }
    }
}

TEST(HttpResponseReader, HandsOverTheRedirectOnceTheHeadIsIn) {
    HttpResponseReader reader(16);
    reader.feed(
        "HTTP/1.1 302 Found\r\nlocation: /next\r\nLocation: /second\r\nContent-Length: 100\r\n");
    EXPECT_FALSE(reader.headComplete());
    reader.feed("\r\n");
    ASSERT_TRUE(reader.headComplete());
    EXPECT_EQ(reader.status(), 302);
    EXPECT_EQ(reader.location(), "/next");
}

TEST(HttpResponseReader, StopsAHeadOrALineThatNeverEnds) {
    HttpResponseReader head(16);
    head.feed("HTTP/1.1 200 OK\r\n");
    const std::string endless(70 * 1024, 'x');
    EXPECT_EQ(head.feed(endless), State::Broken);

    HttpResponseReader chunk(1024 * 1024);
    chunk.feed("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
    EXPECT_EQ(chunk.feed(std::string(9000, '0')), State::Broken);
}

}  // namespace
}  // namespace talvane
