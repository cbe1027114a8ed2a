#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/linux/IconvCodePage.h"

// A broken invariant is a finding: abort so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                      \
            std::abort();                                                                \
        }                                                                                \
    } while (0)

namespace talvane::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The text a parser gets from a fuzz input. A first byte 'U' means the rest
// is raw UTF-16LE, which reaches unpaired surrogates and every code unit;
// anything else is the whole input as a page body in GBK, the way the
// program decodes downloads, so that seeds stay readable text files.
inline std::u16string InputText(std::string_view input) {
    if (!input.empty() && input.front() == 'U') {
        input.remove_prefix(1);
        std::u16string text;
        for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(input[i]) |
                                                 static_cast<unsigned char>(input[i + 1]) << 8));
        }
        return text;
    }
    static const IconvCodePage gbk("GBK");
    return gbk.toUnicode(input);
}

inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// One private folder per fuzzing process for the settings file, removed at
// exit. It lies on tmpfs where there is one (or under
// $TALVANE_FUZZ_SCRATCH): the writer flushes every file to disk, and a
// million flushes to a real disk would take hours.
inline const std::string& ScratchDirectory() {
    static const std::string path = [] {
        const char* chosen = std::getenv("TALVANE_FUZZ_SCRATCH");
        std::string base = chosen != nullptr && *chosen != '\0' ? chosen
                           : ::access("/dev/shm", W_OK) == 0    ? "/dev/shm"
                                                                : "/tmp";
        std::string pattern = base + "/talvane-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    static const bool cleanupRegistered =
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchDirectory(), ignored);
        }) == 0;
    (void)cleanupRegistered;
    return path;
}

inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

inline std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    FUZZ_CHECK(file != nullptr);
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        bytes.append(chunk, got);
    }
    std::fclose(file);
    return bytes;
}

}  // namespace talvane::fuzz
