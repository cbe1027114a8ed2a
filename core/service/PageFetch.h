#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/HttpClient.h"
#include "platform/Random.h"

namespace talvane {

// The cache-busting number: re-seed, draw, 1 to 30000.
std::int16_t NewCacheBuster(Random& random);

// A service page as the program reads it.
struct PageResult {
    enum class Status { Ok, Error };
    Status status = Status::Error;
    std::u16string text;  // the decoded body when Ok
    std::string error;    // the reason when Error
    bool ok() const { return status == Status::Ok; }
};

// Blocking GET of url (as built, nothing escaped by the caller); the body
// whatever the HTTP status, decoded with the code page.
PageResult FetchPage(HttpClient& http, const CodePage& codePage, std::u16string_view url);

struct SpanResult {
    enum class Status { Found, NotFound, Error };
    Status status = Status::NotFound;
    std::u16string text;  // when Found; may be empty
    std::string error;    // when Error
};

// The text between the marker (plus the two characters that close its tag)
// and the next "</span>". First occurrence, exact case.
SpanResult ExtractSpanText(std::u16string_view page, std::u16string_view marker);

}  // namespace talvane
