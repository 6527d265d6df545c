// JsonValue: a small JSON reader for tests that check what the tools print, so they compare
// values, never the bytes or the layout of the text.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace VantorGLTest {

struct JsonValue {
    enum class eKind { Null, Boolean, Number, String, Array, Object };
    eKind kind = eKind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;                                       // a String's value, escapes decoded
    std::vector<JsonValue> items;                           // an Array's elements
    std::vector<std::pair<std::string, JsonValue>> members; // an Object's members, in text order

    // The member named `key` of an Object; nullptr when there is none or this is no Object.
    const JsonValue* Find(const std::string& key) const;
};

// Parses `text`, which must hold exactly one JSON value (white space around it allowed). On
// failure returns false with `error` naming the byte offset and what was expected there.
bool ParseJson(const std::string& text, JsonValue& value, std::string& error);

}  // namespace VantorGLTest
