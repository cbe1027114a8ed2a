#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talvane::ini {

// The text of a settings file is bytes in a double-byte code page such as
// GBK: a lead byte 0x81-0xFE takes the next byte with it, and that trail
// byte may look like an ASCII letter, '[' or ']'. Everything here that
// compares or cuts names and values walks character by character so that a
// trail byte is never folded to lower case and a character is never halved.
struct ByteRules {
    bool doubleByte = true;

    std::size_t charLength(std::string_view text, std::size_t pos) const {
        const auto c = static_cast<unsigned char>(text[pos]);
        return doubleByte && c >= 0x81 && c <= 0xFE && pos + 1 < text.size() ? 2 : 1;
    }

    bool namesEqual(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size();) {
            const std::size_t len = charLength(a, i);
            if (len == 2) {
                if (a.compare(i, 2, b, i, 2) != 0) return false;
            } else if (lower(a[i]) != lower(b[i])) {
                return false;
            }
            i += len;
        }
        return true;
    }

    // The longest prefix of at most maxBytes bytes that ends on a character
    // boundary.
    std::size_t cutLength(std::string_view text, std::size_t maxBytes) const {
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t len = charLength(text, i);
            if (i + len > maxBytes) break;
            i += len;
        }
        return i;
    }

    static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
};

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

inline std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A value in matching single or double quotes is read without them.
inline std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

inline std::size_t bodyStart(std::string_view content) {
    return content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

// One physical line: [begin, end) without its line ending, next is where
// the following line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key lines: trimmed, quotes still on
    std::size_t equals = 0;  // key lines: offset of '=' within the line
};

inline ParsedLine parseLine(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty()) return {LineKind::Blank, {}, {}, 0};
    if (text.front() == ';') return {LineKind::Comment, {}, {}, 0};
    if (text.front() == '[') {
        // The last ']' closes the name, so a trail byte 0x5D inside it
        // cannot end it early.
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            return {LineKind::Section, trim(text.substr(1, close - 1)), {}, 0};
        }
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {LineKind::Other, {}, {}, 0};
    return {LineKind::Key, trim(line.substr(0, equals)), trim(line.substr(equals + 1)), equals};
}

// Calls visit(line, parsed) for every line after the byte-order mark until
// visit returns false.
template <typename Visit>
void forEachLine(std::string_view content, Visit&& visit) {
    std::size_t pos = bodyStart(content);
    while (pos < content.size()) {
        const std::size_t newline = content.find('\n', pos);
        Line line;
        line.begin = pos;
        line.next = newline == std::string_view::npos ? content.size() : newline + 1;
        line.end = newline == std::string_view::npos ? content.size() : newline;
        if (line.end > line.begin && content[line.end - 1] == '\r') --line.end;
        if (!visit(line, parseLine(content.substr(line.begin, line.end - line.begin)))) return;
        pos = line.next;
    }
}

// Where a key stands, or would go, in a file.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    ParsedLine key;
    // Where a new key line goes: after the section's last key line, or
    // after its header when it has none.
    std::size_t insertAt = 0;
};

// Only the first section of that name is searched, and in it the first
// key of that name wins.
inline Location locate(std::string_view content, std::string_view section, std::string_view key,
                       ByteRules rules) {
    Location found;
    bool inSection = false;
    section = trim(section);
    key = trim(key);
    forEachLine(content, [&](const Line& line, const ParsedLine& parsed) {
        if (parsed.kind == LineKind::Section) {
            if (inSection) return false;
            if (!found.sectionFound && rules.namesEqual(parsed.name, section)) {
                found.sectionFound = inSection = true;
                found.insertAt = line.next;
            }
            return true;
        }
        if (inSection && parsed.kind == LineKind::Key) {
            found.insertAt = line.next;
            if (rules.namesEqual(parsed.name, key)) {
                found.keyFound = true;
                found.keyLine = line;
                found.key = parsed;
                return false;
            }
        }
        return true;
    });
    return found;
}

// The value as the profile functions hand it out: quotes off, and nothing
// from a NUL byte on, since the caller gets a C string.
inline std::optional<std::string_view> readValue(std::string_view content, std::string_view section,
                                                 std::string_view key, ByteRules rules) {
    const Location at = locate(content, section, key, rules);
    if (!at.keyFound) return std::nullopt;
    std::string_view value = unquote(at.key.value);
    return value.substr(0, value.find('\0'));
}

// The file's own line ending, judged by its first line; LF for a file that
// has none yet.
inline std::string_view lineEnding(std::string_view content) {
    const std::size_t newline = content.find('\n');
    return newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n"
                                                                                            : "\n";
}

// Names and values that the file format cannot carry: they would either
// break the line structure or be read back as something else.
inline bool writable(std::string_view section, std::string_view key, std::string_view value) {
    constexpr std::string_view kLineBreakers("\r\n\0", 3);
    if (section.find_first_of(kLineBreakers) != std::string_view::npos) return false;
    if (key.find_first_of(kLineBreakers) != std::string_view::npos) return false;
    if (value.find_first_of(kLineBreakers) != std::string_view::npos) return false;
    key = trim(key);
    return !key.empty() && key.front() != ';' && key.front() != '[' &&
           key.find('=') == std::string_view::npos;
}

// Blanks around a value and a pair of outer quotes are dropped on reading;
// such a value is written in double quotes so that it reads back as it was.
inline std::string encodeValue(std::string_view value) {
    const bool needsQuotes = !value.empty() && (isBlank(value.front()) || isBlank(value.back()) ||
                                                unquote(value).size() != value.size());
    if (!needsQuotes) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

// The whole file with the one value set: an existing key line is rewritten
// from its '=' on, a missing key is added at the end of its section, a
// missing section at the end of the file. Every other byte stays as it was.
inline std::string withValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value, ByteRules rules) {
    const Location at = locate(content, section, key, rules);
    const std::string encoded = encodeValue(value);
    const std::string_view eol = lineEnding(content);
    std::string result;
    result.reserve(content.size() + section.size() + key.size() + encoded.size() + 8);

    if (at.keyFound) {
        result.append(content.substr(0, at.keyLine.begin + at.key.equals + 1));
        result.append(encoded);
        result.append(content.substr(at.keyLine.end));
        return result;
    }

    const bool unterminated = content.size() > bodyStart(content) && content.back() != '\n';
    std::string keyLine = std::string(trim(key)) + "=" + encoded + std::string(eol);
    if (at.sectionFound) {
        result.append(content.substr(0, at.insertAt));
        if (at.insertAt == content.size() && unterminated) result.append(eol);
        result.append(keyLine);
        result.append(content.substr(at.insertAt));
        return result;
    }

    result.append(content);
    if (unterminated) result.append(eol);
    result.append("[").append(trim(section)).append("]").append(eol);
    result.append(keyLine);
    return result;
}

}  // namespace talvane::ini
