#include "inspect/JsonStream.h"

#include <stdexcept>

namespace {
constexpr int indentStep = 2;
using Json = nlohmann::ordered_json;
} // namespace

void JsonStream::write(std::string_view text) {
    text_->write(text.data(), static_cast<std::streamsize>(text.size()));
}

void JsonStream::newLine() {
    const std::size_t width = 1 + open_.size() * indentStep;
    if (lineStart_.size() < width)
        lineStart_.resize(width, ' ');
    write(std::string_view(lineStart_).substr(0, width));
}

// A member's value follows its key on the same line; an item of an array starts a line.
void JsonStream::beforeText() {
    if (open_.empty() || open_.back().object)
        return;
    if (!open_.back().empty)
        write(",");
    open_.back().empty = false;
    newLine();
}

Json& JsonStream::place() {
    if (open_.empty())
        return *value_;
    Level& level = open_.back();
    level.empty = false;
    if (level.object) {
        // The ordered object's own insertion would compare the key with every key there.
        auto& members = level.value->get_ref<Json::object_t&>();
        members.emplace_back(key_, nullptr);
        return members.back().second;
    }
    auto& items = level.value->get_ref<Json::array_t&>();
    items.emplace_back();
    return items.back();
}

void JsonStream::claimPlace() {
    if (!open_.empty() && open_.back().object && !keyPending_)
        throw std::logic_error("JsonStream: a member without a key");
    keyPending_ = false;
}

void JsonStream::begin(bool object) {
    claimPlace();
    if (text_) {
        beforeText();
        write(object ? "{" : "[");
        open_.push_back({object});
        return;
    }
    Json& container = place();
    container = object ? Json::object() : Json::array();
    open_.push_back({object, true, &container});
}

void JsonStream::end() {
    if (open_.empty() || keyPending_)
        throw std::logic_error("JsonStream: nothing to close, or a key without its value");
    const Level level = open_.back();
    open_.pop_back();
    if (!text_)
        return;
    if (!level.empty)
        newLine();
    write(level.object ? "}" : "]");
}

void JsonStream::key(std::string_view name) {
    if (open_.empty() || !open_.back().object || keyPending_)
        throw std::logic_error("JsonStream: a key outside an object, or after a key");
    keyPending_ = true;
    if (!text_) {
        key_.assign(name);
        return;
    }
    if (!open_.back().empty)
        write(",");
    open_.back().empty = false;
    newLine();
    write(Json(name).dump(-1, ' ', false, Json::error_handler_t::replace));
    write(": ");
}

void JsonStream::value(const Json& item) {
    if (!text_) {
        claimPlace();
        place() = item;
        return;
    }
    writeText(item);
}

void JsonStream::value(Json&& item) {
    if (!text_) {
        claimPlace();
        place() = std::move(item);
        return;
    }
    writeText(item);
}

namespace {
// Whether the value holds at most `budget` values, itself and all it contains counted.
bool fitsIn(const Json& item, std::size_t& budget) {
    if (budget == 0)
        return false;
    --budget;
    if (item.is_structured()) {
        for (const Json& inner : item) {
            if (!fitsIn(inner, budget))
                return false;
        }
    }
    return true;
}
} // namespace

// A small value is dumped whole and indented to its depth; a large container is written
// item by item, so that no more than a small value's text is ever held.
void JsonStream::writeText(const Json& item) {
    constexpr std::size_t smallValue = 64;
    std::size_t budget = smallValue;
    if (item.is_structured() && !fitsIn(item, budget)) {
        if (item.is_object()) {
            beginObject();
            for (const auto& [name, member] : item.items()) {
                key(name);
                writeText(member);
            }
        } else {
            beginArray();
            for (const Json& element : item)
                writeText(element);
        }
        end();
        return;
    }
    claimPlace();
    beforeText();
    dump_ = item.dump(indentStep, ' ', false, Json::error_handler_t::replace);
    // The dump is laid out from the left margin; its inner lines move in to this depth.
    // Strings keep their line ends escaped, so every line end in the text is layout.
    std::string_view rest = dump_;
    for (std::size_t lineEnd; (lineEnd = rest.find('\n')) != std::string_view::npos;) {
        write(rest.substr(0, lineEnd));
        newLine();
        rest.remove_prefix(lineEnd + 1);
    }
    write(rest);
}

Json writtenJson(const std::function<void(JsonStream&)>& write) {
    Json value;
    JsonStream out(value);
    write(out);
    return value;
}
