#include "tools/demo-service/GbkText.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace talvane::demo {

namespace {

// How many bytes one '?' stands for: a whole character when the bytes are
// well-formed UTF-8 (GBK just lacks it), else one byte, so that a broken
// sequence never swallows the ASCII that follows it.
std::size_t replacedLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    // A sequence cut off by the end of the text is one character too.
    length = std::min(length, rest.size());
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

class Converter {
  public:
    Converter() : cd_(iconv_open("GBK", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert UTF-8 to GBK");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view utf8) {
        std::string out;
        out.reserve(utf8.size());
        char buffer[4096];
        char* in = const_cast<char*>(utf8.data());
        std::size_t inLeft = utf8.size();
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc != static_cast<std::size_t>(-1) || error == E2BIG) continue;
            // EILSEQ (no GBK form, or not UTF-8) or EINVAL (cut-off sequence).
            const std::size_t skip = replacedLength({in, inLeft});
            out.push_back('?');
            in += skip;
            inLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
    Converter converter;
    return converter.convert(utf8);
}

}  // namespace talvane::demo
