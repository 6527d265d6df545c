// JsonValue: a recursive-descent reader of RFC 8259 JSON, strict about syntax, small rather than
// fast. \u escapes outside ASCII become UTF-8; surrogate pairs are combined.
#include "support/JsonValue.h"

#include <cstdint>
#include <cstdlib>

namespace VantorGLTest {

const JsonValue* JsonValue::Find(const std::string& key) const {
    if (kind != eKind::Object) return nullptr;
    for (const auto& [name, value] : members)
        if (name == key) return &value;
    return nullptr;
}

namespace {

class Reader {
public:
    explicit Reader(const std::string& t) : text(t) {}

    bool Document(JsonValue& value, std::string& error) {
        bool ok = Value(value, 0) && (Space(), at == text.size() || Fail("end of text"));
        if (!ok) error = "offset " + std::to_string(at) + ": expected " + expected;
        return ok;
    }

private:
    static constexpr int kMaxDepth = 64;
    const std::string& text;
    std::size_t at = 0;
    std::string expected;

    bool Fail(const char* what) {
        expected = what;
        return false;
    }
    void Space() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r' || text[at] == '\t')) ++at;
    }
    bool Take(char c) {
        Space();
        if (at < text.size() && text[at] == c) return ++at, true;
        return false;
    }
    bool Word(const char* word) {
        std::size_t n = std::char_traits<char>::length(word);
        if (text.compare(at, n, word) != 0) return false;
        at += n;
        return true;
    }

    bool Value(JsonValue& value, int depth) {
        if (depth > kMaxDepth) return Fail("less nesting");
        Space();
        if (at >= text.size()) return Fail("a value");
        char c = text[at];
        if (c == '{') return Object(value, depth);
        if (c == '[') return Array(value, depth);
        if (c == '"') return value.kind = JsonValue::eKind::String, String(value.text);
        if (Word("null")) return value.kind = JsonValue::eKind::Null, true;
        if (Word("true")) return value.kind = JsonValue::eKind::Boolean, value.boolean = true, true;
        if (Word("false")) return value.kind = JsonValue::eKind::Boolean, value.boolean = false, true;
        return Number(value);
    }

    bool Object(JsonValue& value, int depth) {
        value.kind = JsonValue::eKind::Object;
        ++at;
        if (Take('}')) return true;
        do {
            Space();
            std::string key;
            if (at >= text.size() || text[at] != '"' || !String(key)) return Fail("a member name");
            if (!Take(':')) return Fail("':'");
            value.members.emplace_back(std::move(key), JsonValue{});
            if (!Value(value.members.back().second, depth + 1)) return false;
        } while (Take(','));
        return Take('}') || Fail("',' or '}'");
    }

    bool Array(JsonValue& value, int depth) {
        value.kind = JsonValue::eKind::Array;
        ++at;
        if (Take(']')) return true;
        do {
            value.items.emplace_back();
            if (!Value(value.items.back(), depth + 1)) return false;
        } while (Take(','));
        return Take(']') || Fail("',' or ']'");
    }

    bool Digits() {
        std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at > start;
    }

    bool Number(JsonValue& value) {
        std::size_t start = at;
        if (at < text.size() && text[at] == '-') ++at;
        if (at < text.size() && text[at] == '0')
            ++at;
        else if (!Digits())
            return at = start, Fail("a value");
        if (at < text.size() && text[at] == '.' && (++at, !Digits())) return Fail("digits after '.'");
        if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
            ++at;
            if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
            if (!Digits()) return Fail("exponent digits");
        }
        value.kind = JsonValue::eKind::Number;
        value.number = std::strtod(text.substr(start, at - start).c_str(), nullptr);
        return true;
    }

    bool Hex4(unsigned& code) {
        if (at + 4 > text.size()) return Fail("four hex digits");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text[at++];
            int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0) return Fail("four hex digits");
            code = code << 4 | unsigned(digit);
        }
        return true;
    }

    static void Utf8(unsigned code, std::string& out) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | code >> 6);
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | code >> 12);
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | code >> 18);
            out += char(0x80 | (code >> 12 & 0x3F));
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    bool String(std::string& out) {
        ++at;  // the opening quote
        for (;;) {
            if (at >= text.size()) return Fail("'\"'");
            unsigned char c = std::uint8_t(text[at++]);
            if (c == '"') return true;
            if (c < 0x20) return Fail("no control character in a string");
            if (c != '\\') {
                out += char(c);
                continue;
            }
            if (at >= text.size()) return Fail("an escape");
            switch (char e = text[at++]) {
                case '"': case '\\': case '/': out += e; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = 0, low = 0;
                    if (!Hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00) {
                        if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low >= 0xE000)
                            return Fail("the second half of a surrogate pair");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    Utf8(code, out);
                    break;
                }
                default: return Fail("an escape");
            }
        }
    }
};

}  // namespace

bool ParseJson(const std::string& text, JsonValue& value, std::string& error) {
    value = JsonValue{};
    return Reader(text).Document(value, error);
}

}  // namespace VantorGLTest
