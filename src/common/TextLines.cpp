#include "common/TextLines.h"

#include <cstring>

const std::string overlongLine(1, '\0');

bool readBoundedLine(std::istream& in, std::string& line) {
    line.clear();
    // The stream's own getline into a fixed buffer: it stops at the line feed or when the
    // buffer is full, so no more than the limit is ever held.
    char chunk[1 << 16];
    bool extracted = false;
    bool overlong = false;
    for (;;) {
        in.getline(chunk, sizeof chunk);
        const auto count = static_cast<std::size_t>(in.gcount());
        if (in.fail() && !in.eof() && count == sizeof chunk - 1) {
            // The buffer filled before the line ended: keep reading the same line.
            in.clear(in.rdstate() & ~std::ios::failbit);
            extracted = true;
            if (!overlong) {
                if (line.size() + count > maximumLineLength) {
                    overlong = true;
                    line.clear();
                    line.shrink_to_fit();
                } else {
                    line.append(chunk, count);
                }
            }
            continue;
        }
        if (count == 0 && in.fail()) {
            // Nothing more: the line ends at the end of the stream, or there is none.
            if (!extracted) {
                line.clear();
                return false;
            }
            in.clear(in.rdstate() & ~std::ios::failbit);
            break;
        }
        // gcount counts the line feed when getline consumed one.
        const std::size_t length = in.eof() ? count : count - 1;
        if (!overlong && line.size() + length > maximumLineLength)
            overlong = true;
        if (!overlong)
            line.append(chunk, length);
        break;
    }
    if (overlong)
        std::string(overlongLine).swap(line);
    return true;
}

bool readTextLine(std::istream& in, std::string& line) {
    if (!readBoundedLine(in, line))
        return false;
    // At the end of the stream the line stopped without a line feed.
    if (!in.eof() && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

TextLineReader::TextLineReader(std::istream& in) : in_(in), buffer_(std::size_t{1} << 16) {}

bool TextLineReader::fill() {
    if (!in_)
        return false;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    begin_ = 0;
    end_ = static_cast<std::size_t>(in_.gcount());
    return end_ > 0;
}

bool TextLineReader::next(std::string& line) {
    std::string_view view;
    const bool read = next(view);
    line.assign(view);
    return read;
}

bool TextLineReader::nextSpilled(std::string_view& line) {
    const bool read = nextInto(spill_);
    line = spill_;
    return read;
}

bool TextLineReader::nextInto(std::string& line) {
    line.clear();
    bool started = false;
    bool overlong = false;
    std::size_t length = 0; // of the line as it stands in the stream
    for (;;) {
        if (begin_ == end_ && !fill()) {
            // The stream ended: so does the line, without a line feed and so with all its
            // characters.
            if (overlong)
                line = overlongLine;
            return started;
        }
        started = true;
        const char* start = buffer_.data() + begin_;
        const auto* feed = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        const std::size_t count = feed ? static_cast<std::size_t>(feed - start) : end_ - begin_;
        if (!overlong && length + count > maximumLineLength) {
            overlong = true;
            std::string().swap(line);
        }
        if (!overlong)
            line.append(start, count);
        length += count;
        begin_ += count;
        if (feed) {
            ++begin_;
            if (overlong)
                line = overlongLine;
            else if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
    }
}
