#pragma once
// The program's own exception family: a plain holder of one message, caught by the
// command that started the work and shown to the user.
#include <string>
#include <utility>

class Exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& getMessage() const { return message_; }

private:
    std::string message_;
};

class XMIParseException : public Exception {
public:
    using Exception::Exception;
};

class MetricsParseException : public Exception {
public:
    using Exception::Exception;
};

class GraphicsException : public Exception {
public:
    using Exception::Exception;
};
