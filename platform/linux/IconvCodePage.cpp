#include "platform/linux/IconvCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <optional>
#include <utility>

#include "platform/Utf16.h"
#include "platform/linux/GbkUserDefinedAreas.h"

namespace talvane {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
// UTF-16LE is named explicitly: plain "UTF-16" would add a byte-order mark
// and follow the host's byte order.
constexpr const char* kUtf16 = "UTF-16LE";

class Descriptor {
  public:
    Descriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Descriptor() {
        if (ok()) iconv_close(cd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as fits into out; returns (size_t)-1 with errno set
    // like iconv itself.
    std::size_t convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        return iconv(cd_, const_cast<char**>(&in), &inLeft, &out, &outLeft);
    }
    // Writes the shift sequence that returns a stateful encoding to its
    // initial state; nothing for the usual stateless ones.
    std::size_t reset(char*& out, std::size_t& outLeft) {
        return iconv(cd_, nullptr, nullptr, &out, &outLeft);
    }

  private:
    iconv_t cd_;
};

// Output that grows in chunks as iconv asks for room.
class Sink {
  public:
    explicit Sink(std::size_t initial) : bytes_(initial < 16 ? 16 : initial, '\0') {}

    char*& cursor() { return cursor_; }
    std::size_t& left() { return left_; }
    void begin() {
        cursor_ = bytes_.data() + used_;
        left_ = bytes_.size() - used_;
    }
    void end() { used_ = static_cast<std::size_t>(cursor_ - bytes_.data()); }
    void grow() {
        end();
        bytes_.resize(bytes_.size() * 2);
        begin();
    }
    void put(std::string_view raw) {
        end();
        if (bytes_.size() - used_ < raw.size()) bytes_.resize(bytes_.size() * 2 + raw.size());
        bytes_.replace(used_, raw.size(), raw);
        used_ += raw.size();
        begin();
    }
    std::string take() {
        end();
        bytes_.resize(used_);
        return std::move(bytes_);
    }

  private:
    std::string bytes_;
    std::size_t used_ = 0;
    char* cursor_ = nullptr;
    std::size_t left_ = 0;
};

std::u16string assembleUtf16Le(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i]);
        const auto hi = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
    return text;
}

std::string disassembleUtf16Le(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

// glibc's names for the code page whose user-defined areas Windows maps and
// glibc does not (its GB18030 maps them itself).
bool namesCodePage936(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    constexpr std::array<const char*, 4> kNames = {"GBK", "CP936", "MS936", "WINDOWS-936"};
    return std::find(kNames.begin(), kNames.end(), upper) != kNames.end();
}

}  // namespace

IconvCodePage::IconvCodePage(std::string name)
    : name_(std::move(name)), userDefinedAreas_(namesCodePage936(name_)) {
    Descriptor probe(kUtf16, name_.c_str());
    valid_ = probe.ok();
}

std::u16string IconvCodePage::toUnicode(std::string_view bytes) const {
    Descriptor cd(kUtf16, name_.c_str());
    if (!cd.ok()) {
        std::u16string text;
        for (char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            text.push_back(u < 0x80 ? static_cast<char16_t>(u) : kReplacement);
        }
        return text;
    }

    const std::string replacement = disassembleUtf16Le(std::u16string_view(&kReplacement, 1));
    Sink sink(bytes.size() * 2);
    sink.begin();
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        if (cd.convert(in, inLeft, sink.cursor(), sink.left()) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            sink.grow();
            continue;
        }
        const std::optional<char16_t> userDefined =
            userDefinedAreas_ && inLeft >= 2
                ? GbkUserDefinedToUnicode(static_cast<unsigned char>(in[0]),
                                          static_cast<unsigned char>(in[1]))
                : std::nullopt;
        if (userDefined) {
            sink.put(disassembleUtf16Le(std::u16string_view(&*userDefined, 1)));
            in += 2;
            inLeft -= 2;
        } else {
            // EILSEQ or EINVAL: one bad byte costs one replacement character
            // and the rest of the input is still decoded.
            sink.put(replacement);
            ++in;
            --inLeft;
        }
        std::size_t none = 0;
        char* nowhere = nullptr;
        cd.reset(nowhere, none);
    }
    return assembleUtf16Le(sink.take());
}

std::string IconvCodePage::fromUnicode(std::u16string_view text) const {
    Descriptor cd(name_.c_str(), kUtf16);
    if (!cd.ok()) {
        std::string bytes;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (IsSurrogatePairAt(text, i)) ++i;
            bytes.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return bytes;
    }

    const std::string input = disassembleUtf16Le(text);
    Sink sink(text.size() * 2);
    sink.begin();
    const char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        if (cd.convert(in, inLeft, sink.cursor(), sink.left()) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            sink.grow();
            continue;
        }
        // The unit at `in` starts a character the code page lacks (or is a
        // lone surrogate): it becomes one '?', a surrogate pair included.
        const std::size_t index = static_cast<std::size_t>(in - input.data()) / 2;
        std::size_t skip = 1;
        if (IsSurrogatePairAt(text, index)) skip = 2;
        while (cd.reset(sink.cursor(), sink.left()) == static_cast<std::size_t>(-1) &&
               errno == E2BIG) {
            sink.grow();
        }
        const std::optional<std::string> userDefined =
            userDefinedAreas_ ? GbkUserDefinedFromUnicode(text[index]) : std::nullopt;
        sink.put(userDefined ? *userDefined : "?");
        in += skip * 2;
        inLeft -= skip * 2;
    }
    while (cd.reset(sink.cursor(), sink.left()) == static_cast<std::size_t>(-1) && errno == E2BIG) {
        sink.grow();
    }
    return sink.take();
}

}  // namespace talvane
