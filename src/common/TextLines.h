#pragma once
// Line-by-line reading of the program's text formats (metrics files, configuration text,
// layout text).
#include <cstddef>
#include <cstring>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// Lines longer than this are no line of any of the program's formats. Such a line is read
// to its end without being kept, and the reader gets overlongLine in its place.
constexpr std::size_t maximumLineLength = std::size_t{16} << 20;
// What stands for an overlong line: a lone NUL, which no pattern of the formats accepts and
// which no identifier from an XML document can contain.
extern const std::string overlongLine;

// Reads one line as std::getline does (up to a line feed, which is consumed and dropped),
// except that an overlong line gives overlongLine. Returns false, with the line empty, once
// the stream has no more lines.
bool readBoundedLine(std::istream& in, std::string& line);

// Reads one line as a text-mode stream gives it: the line ends at a line feed, and a
// carriage return directly before that line feed is dropped; nothing else is trimmed (a
// last line without a line feed keeps all its characters). Returns false, with the line
// empty, once the stream has no more lines. Overlong lines as readBoundedLine gives them.
bool readTextLine(std::istream& in, std::string& line);

// Reads the lines of a stream exactly as readTextLine does, from a buffer of its own that it
// fills in large blocks: a file of short lines costs one search for each line feed instead
// of a stream call per line. The reader owns the stream's position from its first line on.
class TextLineReader {
public:
    explicit TextLineReader(std::istream& in);
    bool next(std::string& line);
    // The same line as a view, valid until the next call: into the buffer where the line
    // lies whole in it, which is the rule, else into a string of the reader's own.
    bool next(std::string_view& line) {
        // The rule, kept inline: the next line feed lies in the buffer.
        const char* start = buffer_.data() + begin_;
        const auto* feed = begin_ == end_
                               ? nullptr
                               : static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        if (!feed || static_cast<std::size_t>(feed - start) > maximumLineLength)
            return nextSpilled(line);
        std::size_t count = static_cast<std::size_t>(feed - start);
        begin_ += count + 1;
        if (count > 0 && start[count - 1] == '\r')
            --count;
        line = std::string_view(start, count);
        return true;
    }

private:
    bool fill();
    bool nextInto(std::string& line);
    bool nextSpilled(std::string_view& line);

    std::string spill_; // a line that did not lie whole in the buffer

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // unread part of the buffer
    std::size_t end_ = 0;
};

// Blanks as XML counts them: space, tab, carriage return and line feed.
inline bool isXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text without its leading and trailing XML blanks.
inline std::string_view trimXmlBlanks(std::string_view text) {
    while (!text.empty() && isXmlBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isXmlBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
