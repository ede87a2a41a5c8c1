#pragma once
// Helpers shared by the core tests: a message recorder and temporary files.
#include <string>
#include <vector>

#include "common/UserMessages.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
    int style;
};

// Records every message shown while it is installed.
class MessageRecorder : public UserMessages {
public:
    MessageRecorder();
    ~MessageRecorder() override;
    void showMessage(const std::string& text, const std::string& caption, int style) override;
    std::vector<RecordedMessage> messages;

private:
    UserMessages* previous_;
};

// A file in a fresh temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& name, const std::string& contents = {});
    ~TempFile();
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }
    void write(const std::string& contents) const;

private:
    std::string folder_;
    std::string path_;
};

std::string readWholeFile(const std::string& path);
