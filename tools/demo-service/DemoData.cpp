#include "tools/demo-service/DemoData.h"

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace talvane::demo {

namespace {

constexpr std::string_view kWhitespace = " \t";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

bool containsIgnoringCase(std::string_view text, std::string_view lowerNeedle) {
    if (lowerNeedle.size() > text.size()) return false;
    for (std::size_t i = 0; i + lowerNeedle.size() <= text.size(); ++i) {
        bool same = true;
        for (std::size_t j = 0; j < lowerNeedle.size() && same; ++j) {
            char c = text[i + j];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            same = c == lowerNeedle[j];
        }
        if (same) return true;
    }
    return false;
}

// The notifier cuts the span at the first "</span>" and splits the text at
// the first run of four separator characters it meets; a value that holds
// such a run, or ends with a separator character (which would join the
// separator that follows it), would shift every field after it.
std::optional<std::string> valueProblem(std::string_view value) {
    for (std::string_view separator : {"||||", "@@@@", "$$$$", "&&&&"}) {
        if (value.find(separator) != std::string_view::npos) {
            return "value contains \"" + std::string(separator) + "\"";
        }
    }
    if (!value.empty() && std::string_view("|@$&").find(value.back()) != std::string_view::npos) {
        return std::string("value ends with '") + value.back() + "'";
    }
    if (containsIgnoringCase(value, "</span")) return std::string("value contains \"</span\"");
    return std::nullopt;
}

// Keys of one block as read, with the line each came from.
struct Block {
    std::string section;
    int line = 0;
    std::map<std::string, std::pair<std::string, int>, std::less<>> values;
};

class Parser {
  public:
    DemoDataResult run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        int lineNumber = 0;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            start = end + 1;
            ++lineNumber;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!readLine(trim(line), lineNumber)) return failure();
        }
        if (!closeBlock()) return failure();
        if (!sawService_) return {false, {}, "no [service] block"};
        return {true, std::move(data_), {}};
    }

  private:
    bool readLine(std::string_view line, int number) {
        if (line.empty() || line.front() == '#' || line.front() == ';') return true;
        if (line.front() == '[') {
            if (line.back() != ']') return fail(number, "a section line ends with ']'");
            if (!closeBlock()) return false;
            block_ = Block{std::string(trim(line.substr(1, line.size() - 2))), number, {}};
            if (block_->section != "service" && block_->section != "seminar" &&
                block_->section != "reminder" && block_->section != "no-reminder") {
                return fail(number, "unknown section [" + block_->section + "]");
            }
            if (block_->section == "service" && sawService_) {
                return fail(number, "second [service] block");
            }
            return true;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) return fail(number, "expected key = value");
        if (!block_) return fail(number, "key outside a block");
        const std::string key(trim(line.substr(0, equals)));
        const std::string_view value = trim(line.substr(equals + 1));
        if (!knownKey(block_->section, key)) {
            return fail(number, "unknown key \"" + key + "\" in [" + block_->section + "]");
        }
        auto found = block_->values.find(key);
        if (found == block_->values.end()) {
            block_->values.emplace(key, std::pair{std::string(value), number});
        } else if (key == "detail") {
            found->second.first.append("\n").append(value);
        } else {
            return fail(number, "key \"" + key + "\" given twice");
        }
        return true;
    }

    static bool knownKey(std::string_view section, std::string_view key) {
        static const std::map<std::string_view, std::vector<std::string_view>> keys = {
            {"service", {"tag", "footer"}},
            {"seminar", {"id", "title", "time", "ended", "registrations", "detail"}},
            {"reminder", {"heading", "time", "seminar", "link", "note"}},
            {"no-reminder", {}},
        };
        for (std::string_view known : keys.at(section)) {
            if (known == key) return true;
        }
        return false;
    }

    // Takes a key of the open block; required keys must be present.
    std::optional<std::string> take(std::string_view key, bool required,
                                    std::string fallback = {}) {
        const auto found = block_->values.find(key);
        if (found == block_->values.end()) {
            if (required) {
                fail(block_->line, "[" + block_->section + "] lacks \"" + std::string(key) + "\"");
                return std::nullopt;
            }
            return fallback;
        }
        if (const auto problem = valueProblem(found->second.first)) {
            fail(found->second.second, *problem);
            return std::nullopt;
        }
        return found->second.first;
    }

    bool closeBlock() {
        if (!block_) return true;
        const std::string& section = block_->section;
        bool ok = true;
        if (section == "service") {
            const auto tag = take("tag", true);
            const auto footer = tag ? take("footer", true) : std::nullopt;
            ok = tag && footer;
            if (ok) {
                data_.tag = *tag;
                data_.footer = *footer;
                sawService_ = true;
            }
        } else if (section == "seminar") {
            ok = closeSeminar();
        } else if (section == "reminder") {
            Reminder reminder;
            const std::array<std::string_view, 5> names = {"heading", "time", "seminar", "link",
                                                           "note"};
            for (std::size_t i = 0; i < names.size() && ok; ++i) {
                const auto value = take(names[i], true);
                ok = value.has_value();
                if (ok) reminder.elements[i] = *value;
            }
            if (ok) data_.reminders.push_back(std::move(reminder));
        } else {
            data_.reminders.push_back(Reminder{true, {}});
        }
        block_.reset();
        return ok;
    }

    bool closeSeminar() {
        Seminar seminar;
        const auto id = take("id", true);
        const auto title = id ? take("title", true) : std::nullopt;
        const auto time = title ? take("time", true) : std::nullopt;
        const auto ended = time ? take("ended", true) : std::nullopt;
        if (!ended) return false;
        if (*ended != "yes" && *ended != "no") {
            return fail(block_->values.find("ended")->second.second, "ended is yes or no");
        }
        const auto registrations = take("registrations", false, "0");
        const auto detail = registrations ? take("detail", false) : std::nullopt;
        if (!detail) return false;
        data_.seminars.push_back(
            Seminar{*id, *title, *time, *ended == "yes", *registrations, *detail});
        return true;
    }

    bool fail(int line, const std::string& message) {
        if (error_.empty()) error_ = "line " + std::to_string(line) + ": " + message;
        return false;
    }

    DemoDataResult failure() { return {false, {}, error_}; }

    DemoData data_;
    std::optional<Block> block_;
    bool sawService_ = false;
    std::string error_;
};

}  // namespace

const Seminar* DemoData::findSeminar(std::string_view id) const {
    for (const Seminar& seminar : seminars) {
        if (seminar.id == id) return &seminar;
    }
    return nullptr;
}

DemoDataResult parseDemoData(std::string_view text) { return Parser{}.run(text); }

DemoDataResult loadDemoDataFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {false, {}, "cannot read " + path};
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) return {false, {}, "cannot read " + path};
    return parseDemoData(content.str());
}

}  // namespace talvane::demo
