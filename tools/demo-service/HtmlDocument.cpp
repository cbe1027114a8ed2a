#include "tools/demo-service/HtmlDocument.h"

namespace talvane::demo {

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string urlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::string htmlDocument(std::string_view title, std::string_view body) {
    std::string page =
        "<!DOCTYPE html>\n"
        "<html lang=\"zh-CN\">\n"
        "<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">\n"
        "<title>";
    page += htmlEscape(title);
    page +=
        "</title>\n"
        "<style>\n"
        "body{font-family:\"Microsoft YaHei\",\"Noto Sans CJK SC\",sans-serif;"
        "background:#f3f6fa;color:#223;margin:0}\n"
        "header{background:#1f5fa8;color:#fff;padding:14px 32px;font-size:20px}\n"
        "main{max-width:760px;margin:24px auto;background:#fff;padding:24px 32px;"
        "border-radius:8px;box-shadow:0 1px 4px rgba(0,0,0,.15)}\n"
        "h1{font-size:22px;margin-top:0}\n"
        "th{text-align:left;color:#567;padding:4px 16px 4px 0;white-space:nowrap;"
        "vertical-align:top}\n"
        "td{padding:4px 0}\n"
        ".player{background:#111;color:#ddd;height:240px;display:flex;"
        "align-items:center;justify-content:center;border-radius:6px}\n"
        ".note{color:#789;font-size:13px}\n"
        "</style>\n"
        "</head>\n"
        "<body>\n"
        "<header>网络研讨会服务（本地演示）</header>\n";
    page += body;
    page += "</body>\n</html>\n";
    return page;
}

}  // namespace talvane::demo
