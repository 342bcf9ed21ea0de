#include "JsonReader.h"

#include <charconv>
#include <stdexcept>

namespace korvane {

namespace {

constexpr int kDeepestNesting = 100;

struct ParseFault {
    int line;
    std::string message;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value(0);
        SkipSpace();
        if (at_ != text_.size()) {
            Fail("unexpected text after the end of the document");
        }
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw ParseFault{line_, message}; }

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return text_[at_]; }

    void SkipSpace() {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '\n') {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++at_;
        }
    }

    void Expect(char wanted, const char* what) {
        SkipSpace();
        if (AtEnd()) {
            Fail(std::string("the text ends where ") + what + " was expected");
        }
        if (Peek() != wanted) {
            Fail(std::string(what) + " expected");
        }
        ++at_;
    }

    JsonValue Value(int depth) {
        if (depth > kDeepestNesting) {
            Fail("values nested too deeply");
        }
        SkipSpace();
        if (AtEnd()) {
            Fail("the text ends where a value was expected");
        }
        JsonValue value;
        value.line = line_;
        const char c = Peek();
        if (c == '{') {
            value.kind = JsonValue::Kind::Object;
            ObjectBody(value, depth);
        } else if (c == '[') {
            value.kind = JsonValue::Kind::Array;
            ArrayBody(value, depth);
        } else if (c == '"') {
            value.kind = JsonValue::Kind::String;
            value.text = String();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            value.kind = JsonValue::Kind::Number;
            Number(value);
        } else if (Word("true")) {
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = true;
        } else if (Word("false")) {
            value.kind = JsonValue::Kind::Boolean;
        } else if (Word("null")) {
            value.kind = JsonValue::Kind::Null;
        } else {
            Fail("a value expected");
        }
        return value;
    }

    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) == word) {
            at_ += word.size();
            return true;
        }
        return false;
    }

    void ObjectBody(JsonValue& value, int depth) {
        ++at_; // {
        SkipSpace();
        if (!AtEnd() && Peek() == '}') {
            ++at_;
            return;
        }
        for (;;) {
            SkipSpace();
            if (AtEnd()) {
                Fail("the text ends inside an object");
            }
            if (Peek() != '"') {
                Fail("a key in double quotes expected");
            }
            const int keyLine = line_;
            std::string key = String();
            if (value.Find(key) != nullptr) {
                throw ParseFault{keyLine, "key \"" + key + "\" given twice"};
            }
            Expect(':', "':'");
            JsonValue member = Value(depth + 1);
            value.keys.push_back(std::move(key));
            value.items.push_back(std::move(member));
            SkipSpace();
            if (AtEnd()) {
                Fail("the text ends inside an object");
            }
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            if (Peek() == '}') {
                ++at_;
                return;
            }
            Fail("',' or '}' expected");
        }
    }

    void ArrayBody(JsonValue& value, int depth) {
        ++at_; // [
        SkipSpace();
        if (!AtEnd() && Peek() == ']') {
            ++at_;
            return;
        }
        for (;;) {
            value.items.push_back(Value(depth + 1));
            SkipSpace();
            if (AtEnd()) {
                Fail("the text ends inside an array");
            }
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            if (Peek() == ']') {
                ++at_;
                return;
            }
            Fail("',' or ']' expected");
        }
    }

    static void AppendUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    std::uint32_t HexQuad() {
        if (at_ + 4 > text_.size()) {
            Fail("the text ends inside a \\u escape");
        }
        std::uint32_t code = 0;
        const auto [end, error] =
            std::from_chars(text_.data() + at_, text_.data() + at_ + 4, code, 16);
        if (error != std::errc() || end != text_.data() + at_ + 4) {
            Fail("a \\u escape needs four hex digits");
        }
        at_ += 4;
        return code;
    }

    // One UTF-8 sequence starting at at_, checked and copied.
    void Utf8Sequence(std::string& out) {
        const auto lead = static_cast<unsigned char>(Peek());
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            Fail("a string that is not valid UTF-8");
        }
        if (at_ + length > text_.size()) {
            Fail("a string that is not valid UTF-8");
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text_[at_ + k]);
            if ((next & 0xC0u) != 0x80u) {
                Fail("a string that is not valid UTF-8");
            }
            code = code << 6 | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            Fail("a string that is not valid UTF-8");
        }
        out.append(text_.substr(at_, length));
        at_ += length;
    }

    std::string String() {
        ++at_; // "
        std::string out;
        for (;;) {
            if (AtEnd()) {
                Fail("the text ends inside a string");
            }
            const char c = Peek();
            if (c == '"') {
                ++at_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("a control character inside a string");
            }
            if (c == '\\') {
                ++at_;
                if (AtEnd()) {
                    Fail("the text ends inside a string");
                }
                const char e = Peek();
                ++at_;
                switch (e) {
                case '"':
                    out.push_back('"');
                    break;
                case '\\':
                    out.push_back('\\');
                    break;
                case '/':
                    out.push_back('/');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u': {
                    std::uint32_t code = HexQuad();
                    if (code >= 0xD800 && code <= 0xDBFF) {
                        if (!Word("\\u")) {
                            Fail("a lone surrogate in a \\u escape");
                        }
                        const std::uint32_t low = HexQuad();
                        if (low < 0xDC00 || low > 0xDFFF) {
                            Fail("a lone surrogate in a \\u escape");
                        }
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xDC00 && code <= 0xDFFF) {
                        Fail("a lone surrogate in a \\u escape");
                    }
                    AppendUtf8(out, code);
                    break;
                }
                default:
                    Fail("an unknown escape in a string");
                }
                continue;
            }
            if (static_cast<unsigned char>(c) >= 0x80) {
                Utf8Sequence(out);
                continue;
            }
            out.push_back(c);
            ++at_;
        }
    }

    bool Digit() const { return !AtEnd() && Peek() >= '0' && Peek() <= '9'; }

    void Number(JsonValue& value) {
        const std::size_t start = at_;
        if (Peek() == '-') {
            ++at_;
        }
        if (!Digit()) {
            Fail("a digit expected in a number");
        }
        if (Peek() == '0') {
            ++at_;
            if (Digit()) {
                Fail("a number with a leading zero");
            }
        } else {
            while (Digit()) {
                ++at_;
            }
        }
        bool whole = true;
        if (!AtEnd() && Peek() == '.') {
            whole = false;
            ++at_;
            if (!Digit()) {
                Fail("a digit expected after the decimal point");
            }
            while (Digit()) {
                ++at_;
            }
        }
        if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
            whole = false;
            ++at_;
            if (!AtEnd() && (Peek() == '+' || Peek() == '-')) {
                ++at_;
            }
            if (!Digit()) {
                Fail("a digit expected in the exponent");
            }
            while (Digit()) {
                ++at_;
            }
        }
        value.text = std::string(text_.substr(start, at_ - start));
        if (whole) {
            const auto [end, error] =
                std::from_chars(text_.data() + start, text_.data() + at_, value.integer);
            value.whole = error == std::errc() && end == text_.data() + at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

} // namespace

JsonReader::Result JsonReader::Read(std::string_view text) {
    Result result;
    try {
        Parser parser(text);
        result.value = parser.Document();
    } catch (const ParseFault& fault) {
        result.errorLine = fault.line;
        result.message = fault.message;
    }
    return result;
}

} // namespace korvane
