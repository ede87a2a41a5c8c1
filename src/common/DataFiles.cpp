#include "common/DataFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>
#include <vector>

std::string executableDirectory() {
    std::vector<char> buffer(4096);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return "";
    std::string path(buffer.data(), static_cast<size_t>(length));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool openForReading(std::ifstream& in, const std::string& path) {
    // A directory opens like a file on POSIX systems and then reads as empty; a FIFO would
    // wait for a writer, a device may never end. Only regular files are documents.
    if (!isRegularFile(path))
        return false;
    in.open(path, std::ios::in | std::ios::binary);
    return in.is_open();
}

bool fileIsReadable(const std::string& path) {
    std::ifstream in;
    return openForReading(in, path);
}

std::string findDataFile(const std::string& name) {
    if (fileIsReadable(name))
        return name;
    std::string exe = executableDirectory();
    if (exe.empty())
        return "";
    for (const std::string& candidate :
         {exe + "/data/" + name, exe + "/../share/brennimore/" + name}) {
        if (fileIsReadable(candidate))
            return candidate;
    }
    return "";
}
