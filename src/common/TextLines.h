#pragma once
// Line-by-line reading of the program's text formats (metrics files, configuration text).
#include <istream>
#include <string>

// Reads one line as a text-mode stream gives it: the line ends at a line feed, and a
// carriage return directly before that line feed is dropped; nothing else is trimmed (a
// last line without a line feed keeps all its characters). Returns false, with the line
// empty, once the stream has no more lines.
bool readTextLine(std::istream& in, std::string& line);
