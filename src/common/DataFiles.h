#pragma once
// Finds the files the program reads beside its documents (the XMI DTD, the font):
// first in the working directory, then in the program's data folder.
#include <iosfwd>
#include <string>

// Folder of the running executable ("" if it cannot be told).
std::string executableDirectory();

// The path under which the named data file is found: the name itself when it exists in
// the working directory, else "<exe>/data/<name>", else "<exe>/../share/brennimore/<name>";
// "" when none exists.
std::string findDataFile(const std::string& name);

// Whether the path names a regular file (following symbolic links).
bool isRegularFile(const std::string& path);
// Opens the file for reading (in binary mode: line ends are the readers' business). Only a
// regular file opens: a directory, a FIFO, a device or anything that cannot be opened
// gives false.
bool openForReading(std::ifstream& in, const std::string& path);
// Whether openForReading would succeed.
bool fileIsReadable(const std::string& path);
