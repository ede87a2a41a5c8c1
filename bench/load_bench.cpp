// Compares the full model load (SAX2 parse into the node tree, reading the model and
// diagrams, resolving references) with bare SAX2 scans of the same file (one with the
// factory's defaults and validation off, one configured like the load), and the peak
// memory of the load with the file size. Each measurement runs in a process of its own,
// so that peak memory belongs to one phase only.
//   load_bench FILE [REPEAT]      runs the comparison (best of REPEAT runs, default 3)
//   load_bench --load FILE        one load; prints parse, read, total seconds and KiB
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

#include "common/Exception.h"
#include "common/UserMessages.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int loadOnce(const std::string& file) {
    XmlParserSession session;
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<XMINode> root = parseFile(file);
    double parsed = secondsSince(start);
    XMIReader reader;
    try {
        reader.read(root.get());
    } catch (const XMIParseException& e) {
        std::fprintf(stderr, "rejected: %s\n", e.getMessage().c_str());
        return 1;
    }
    std::unique_ptr<XMIResult> result = reader.takeResult();
    double total = secondsSince(start);
    long kib = peakKiB();
    std::printf("%.6f %.6f %.6f %ld %zu\n", parsed, total - parsed, total, kib,
                result->idRegistry.size());
    // Releasing the tree and the model is not part of the load.
    std::fflush(stdout);
    std::_Exit(0);
}

std::string run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe.get()))
        out += buffer;
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--load")
        return loadOnce(argv[2]);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [REPEAT]\n       %s --load FILE\n", argv[0], argv[0]);
        return 2;
    }
    const std::string file = argv[1];
    const int repeat = argc == 3 ? std::max(1, std::stoi(argv[2])) : 3;
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const std::string scanner = (std::filesystem::path(self).parent_path() / "sax_scan").string();
    const double fileMiB = static_cast<double>(std::filesystem::file_size(file)) / 1048576.0;

    double bestPlain = 1e30, bestScan = 1e30, bestLoad = 1e30, bestParse = 0, bestRead = 0;
    long scanKiB = 0, loadKiB = 0;
    std::size_t elements = 0;
    for (int i = 0; i < repeat; ++i) {
        double seconds = 0;
        long kib = 0;
        if (std::sscanf(run(quoted(scanner) + " " + quoted(file)).c_str(), "%lf %ld", &seconds,
                        &kib) != 2) {
            std::fprintf(stderr, "the scan failed\n");
            return 1;
        }
        bestScan = std::min(bestScan, seconds);
        scanKiB = std::max(scanKiB, kib);
        if (std::sscanf(run(quoted(scanner) + " --plain " + quoted(file)).c_str(), "%lf %ld",
                        &seconds, &kib) != 2) {
            std::fprintf(stderr, "the plain scan failed\n");
            return 1;
        }
        bestPlain = std::min(bestPlain, seconds);
        double parse = 0, read = 0;
        if (std::sscanf(run(quoted(self) + " --load " + quoted(file)).c_str(),
                        "%lf %lf %lf %ld %zu", &parse, &read, &seconds, &kib, &elements) != 5) {
            std::fprintf(stderr, "the load failed\n");
            return 1;
        }
        if (seconds < bestLoad) {
            bestLoad = seconds;
            bestParse = parse;
            bestRead = read;
        }
        loadKiB = std::max(loadKiB, kib);
    }
    std::printf("file            %s\n", file.c_str());
    std::printf("size            %.1f MiB, %zu elements with an id\n", fileMiB, elements);
    std::printf("plain SAX scan  %.3f s                    (factory defaults, no validation)\n",
                bestPlain);
    std::printf(
        "bare SAX scan   %.3f s   peak %.1f MiB      (configured like the load, best of %d)\n",
        bestScan, scanKiB / 1024.0, repeat);
    std::printf("full load       %.3f s   peak %.1f MiB      (parse to tree %.3f s, read %.3f s)\n",
                bestLoad, loadKiB / 1024.0, bestParse, bestRead);
    std::printf("load / plain    %.2f x   (aim: at most 1.5)\n", bestLoad / bestPlain);
    std::printf("load / scan     %.2f x\n", bestLoad / bestScan);
    std::printf("peak / file     %.2f x   (aim: at most 2.5)\n", loadKiB / 1024.0 / fileMiB);
    return 0;
}
