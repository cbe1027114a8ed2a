#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace talvane::testing {

// Strict GBK to UTF-8; a byte sequence that is not GBK gives "<invalid GBK>".
inline std::string gbkToUtf8(std::string_view gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string out(gbk.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(gbk.data());
    std::size_t inLeft = gbk.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) return "<invalid GBK>";
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace talvane::testing
