#include "common/Log.h"

bool Log::open(const std::string& path) {
    close();
    file_.open(path, std::ios::out | std::ios::trunc);
    out_ = file_.is_open() ? &file_ : nullptr;
    return out_ != nullptr;
}

void Log::close() {
    if (out_ == &file_)
        out_ = nullptr;
    if (file_.is_open())
        file_.close();
}

void Log::writeLine(const std::string& text) {
    if (!out_)
        return;
    *out_ << text << '\n';
    out_->flush();
}

Log& processLog() {
    static Log log;
    return log;
}

void logLine(const std::string& text) {
    processLog().writeLine(text);
}

LogCapture::LogCapture() : previous_(processLog().destination()) {
    processLog().redirect(&buffer_);
}

LogCapture::~LogCapture() {
    processLog().redirect(previous_);
}

std::vector<std::string> LogCapture::lines() const {
    std::vector<std::string> result;
    std::istringstream in(buffer_.str());
    std::string line;
    while (std::getline(in, line))
        result.push_back(line);
    return result;
}
