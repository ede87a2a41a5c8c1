#include "common/LinePatterns.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// [-+]?([0-9]*\.)?[0-9]+([eE][-+]?[0-9]+)? over the whole text.
bool isDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        digits = 0;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponent = 0;
        while (i < n && isDigit(text[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == n;
}

} // namespace

bool matchSectionHeader(std::string_view line, std::string_view kind, std::string_view& digits) {
    // '@' kind " (" digits ')'
    if (line.size() < kind.size() + 5 || line.front() != '@' || line.back() != ')' ||
        line.substr(1, kind.size()) != kind || line.substr(1 + kind.size(), 2) != " (")
        return false;
    const std::size_t begin = kind.size() + 3;
    digits = line.substr(begin, line.size() - 1 - begin);
    for (char c : digits)
        if (!isDigit(c))
            return false;
    return !digits.empty();
}

bool matchBoolEntry(std::string_view line, std::string_view& key, std::string_view& value) {
    for (std::string_view word : {std::string_view("true"), std::string_view("false")}) {
        // '<' key "><" word '>' with a key of at least one character
        const std::size_t tail = word.size() + 3;
        if (line.size() < tail + 2 || line.front() != '<' || line.back() != '>')
            continue;
        const std::string_view end = line.substr(line.size() - tail);
        if (end.substr(0, 2) != "><" || end.substr(2, word.size()) != word)
            continue;
        key = line.substr(1, line.size() - tail - 1);
        value = line.substr(line.size() - word.size() - 1, word.size());
        return true;
    }
    return false;
}

bool matchFloatEntry(std::string_view line, std::string_view& key, std::string_view& number) {
    if (line.size() < 5 || line.front() != '<' || line.back() != '>')
        return false;
    // The number holds no '<', so the "><" before it holds the line's last '<'.
    const std::size_t open = line.rfind('<');
    if (open < 3 || line[open - 1] != '>')
        return false;
    const std::string_view candidate = line.substr(open + 1, line.size() - open - 2);
    if (!isDecimalNumber(candidate))
        return false;
    key = line.substr(1, open - 2);
    number = candidate;
    return true;
}

bool matchAnyEntry(std::string_view line, std::string_view& key, std::string_view& value) {
    if (line.size() < 5 || line.front() != '<' || line.back() != '>')
        return false;
    // The last "><" that still leaves the closing '>' after it; the key must not be empty.
    const std::size_t split = line.rfind("><", line.size() - 3);
    if (split == std::string_view::npos || split < 2)
        return false;
    key = line.substr(1, split - 1);
    value = line.substr(split + 2, line.size() - split - 3);
    return true;
}

bool matchColorText(std::string_view text, std::array<std::string_view, 4>& parts) {
    if (text.size() < 5 || text.front() != '[' || text.back() != ']')
        return false;
    const std::string_view inner = text.substr(1, text.size() - 2);
    std::size_t blanks[3];
    std::size_t end = inner.size();
    for (int i = 2; i >= 0; --i) {
        const std::size_t blank = end == 0 ? std::string_view::npos : inner.rfind(' ', end - 1);
        if (blank == std::string_view::npos)
            return false;
        blanks[i] = blank;
        end = blank;
    }
    parts[0] = inner.substr(0, blanks[0]);
    parts[1] = inner.substr(blanks[0] + 1, blanks[1] - blanks[0] - 1);
    parts[2] = inner.substr(blanks[1] + 1, blanks[2] - blanks[1] - 1);
    parts[3] = inner.substr(blanks[2] + 1);
    return true;
}

bool matchMetricHeader(std::string_view line, std::string_view& name) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']')
        return false;
    const std::string_view inner = line.substr(1, line.size() - 2);
    std::size_t i = 0;
    while (i < inner.size() && (isLetter(inner[i]) || inner[i] == ' ' || inner[i] == '-'))
        ++i;
    if (i == inner.size()) {
        name = inner;
        return true;
    }
    // The options begin with the blank before the first '%'; the name ends there.
    if (inner[i] != '%' || i < 2 || inner[i - 1] != ' ')
        return false;
    const std::size_t nameEnd = i - 1;
    // ( %[A-Za-z]+)* from the blank on
    std::size_t j = nameEnd;
    while (j < inner.size()) {
        if (j + 2 >= inner.size() || inner[j] != ' ' || inner[j + 1] != '%' ||
            !isLetter(inner[j + 2]))
            return false;
        j += 2;
        while (j < inner.size() && isLetter(inner[j]))
            ++j;
    }
    name = inner.substr(0, nameEnd);
    return true;
}
