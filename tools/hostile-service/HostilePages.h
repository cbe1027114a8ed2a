#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvane::hostile {

// Sizes of the flood page. Everything stays below the notifier's 16 MiB
// body limit, so that the whole payload reaches the parser and the panel
// instead of being refused at the door.
inline constexpr std::size_t kFloodRecords = 10000;
inline constexpr std::size_t kFloodLargeRecords = 5;
inline constexpr std::size_t kFloodTitleBytes = 1024 * 1024;
inline constexpr std::size_t kFloodDetailBytes = 1024 * 1024;
inline constexpr std::size_t kFloodReminderElements = 10000;
inline constexpr std::size_t kFloodReminderElementBytes = 512 * 1024;

// The body of the huge mode: far beyond any body limit.
inline constexpr std::size_t kHugeBodyBytes = 100u * 1024 * 1024;

// A status line and headers for a body of the given length, with
// "Connection: close".
std::string httpHead(std::string_view status, std::size_t contentLength);

// A page in GBK with the event-list span and the reminder span, in that
// order, so that every request of the notifier finds what it looks for.
std::string servicePage(std::string_view topics, std::string_view reminders);

// A small, well-formed page: five events and one reminder.
std::string ordinaryPage();

// The ordinary page, but the reminder's link element is an address on
// `otherOrigin` ("http://127.0.0.2:PORT").
std::string foreignLinkPage(std::string_view otherOrigin);

// Thousands of records; the first five with megabyte titles and details,
// and a reminder of megabyte elements followed by thousands more.
std::string floodPage();

// Separators and nothing else, about 14 MiB: a million empty level-1
// elements, two million empty records and a reminder of empty elements.
std::string separatorPage();

// Spans full of bytes that are not GBK: stray trail bytes, lead bytes before
// controls, separators and the marker's own letters, NUL bytes, and a lead
// byte cut off by the end of the body.
std::string invalidGbkPage();

// Eight records, the footer count and a five-element reminder, every field
// of random bytes.
std::string randomPage(std::uint64_t seed);

std::string randomBytes(std::uint64_t seed, std::size_t count);

}  // namespace talvane::hostile
