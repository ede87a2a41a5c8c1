#pragma once
// JSON made a piece at a time, either as text laid out exactly as nlohmann's dump(2) lays
// out the whole document, so that a description of a large file is never held whole in
// memory, or as a value for callers that want one.
//
// In the text, strings that are not valid UTF-8 (names and lines read from other tools'
// text files) have each bad byte replaced by U+FFFD instead of failing the output. The
// keys of an object are taken as given: callers write each key once.
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>
#include <vector>

class JsonStream {
public:
    explicit JsonStream(std::ostream& text) : text_(&text) {}
    explicit JsonStream(nlohmann::ordered_json& value) : value_(&value) {}

    // An object or an array at the place of the next value; end() closes the innermost.
    // Writing out of order (a member without its key, a key in an array, closing what is
    // not open) throws std::logic_error instead of making bad JSON.
    void beginObject() { begin(true); }
    void beginArray() { begin(false); }
    void end();
    // The name of the next member of the innermost object.
    void key(std::string_view name);
    // A whole value at the place of the next value.
    void value(const nlohmann::ordered_json& item);
    void value(nlohmann::ordered_json&& item);
    void member(std::string_view name, nlohmann::ordered_json item) {
        key(name);
        value(std::move(item));
    }

private:
    void begin(bool object);
    void writeText(const nlohmann::ordered_json& item);
    // Checks that a value may come next (a member's value needs its key) and uses up the key.
    void claimPlace();
    void beforeText();
    void newLine();
    void write(std::string_view text);
    // Where the next value goes in the value being made.
    nlohmann::ordered_json& place();

    struct Level {
        bool object;
        bool empty = true;
        nlohmann::ordered_json* value = nullptr; // the container, when a value is made
    };
    std::ostream* text_ = nullptr;
    nlohmann::ordered_json* value_ = nullptr;
    std::vector<Level> open_;
    bool keyPending_ = false;      // a key was written, its value not yet
    std::string key_;              // of the member whose value comes next
    std::string dump_;             // the text of the small value being written; reused
    std::string lineStart_ = "\n"; // a line end and the widest indentation so far
};

// The JSON that `write` makes, as a value.
nlohmann::ordered_json writtenJson(const std::function<void(JsonStream&)>& write);
