#pragma once
// The process log ("log.txt" in the working directory). Non-fatal problems met while
// reading files are written here one line each; tests point the log at a buffer.
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

class Log {
public:
    // Opens (truncating) the named file and writes to it from now on.
    bool open(const std::string& path);
    void close();
    // Writes to the given stream instead (null: nowhere); the caller keeps it alive.
    void redirect(std::ostream* stream) { out_ = stream; }
    std::ostream* destination() const { return out_; }
    void writeLine(const std::string& text);

private:
    std::ofstream file_;
    std::ostream* out_ = nullptr;
};

Log& processLog();

// Writes the text and a line end to the process log and flushes it.
void logLine(const std::string& text);

// Collects the lines logged while it lives, then restores the previous destination.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    std::vector<std::string> lines() const;

private:
    std::ostringstream buffer_;
    std::ostream* previous_;
};
