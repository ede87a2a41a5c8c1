#include "common/TextLines.h"

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
