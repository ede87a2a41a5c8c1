#include "common/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

MessageRecorder::MessageRecorder() : previous_(installUserMessages(this)) {}
MessageRecorder::~MessageRecorder() {
    installUserMessages(previous_);
}

void MessageRecorder::showMessage(const std::string& text, const std::string& caption, int style) {
    messages.push_back({text, caption, style});
}

TempFile::TempFile(const std::string& name, const std::string& contents) {
    std::string pattern = (std::filesystem::temp_directory_path() / "brennimore-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    folder_ = made ? made : pattern;
    path_ = folder_ + "/" + name;
    write(contents);
}

TempFile::~TempFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void TempFile::write(const std::string& contents) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << contents;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}
