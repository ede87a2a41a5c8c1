#include "common/TextLines.h"

bool readTextLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        line.clear();
        return false;
    }
    // At the end of the stream getline stopped without a line feed.
    if (!in.eof() && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
