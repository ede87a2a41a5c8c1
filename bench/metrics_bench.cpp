// Reads a generated metrics file of about a million lines and prints the read time next to
// a plain line-by-line read of the same file, measured in the same run.
//
//   metrics_bench [FILE] [ELEMENTS]
//   metrics_bench --model MODEL.xmi METRICS
//
// FILE (default: a file in the temporary folder) is overwritten; ELEMENTS (default 200000)
// sets the number of model elements, and each of the five element blocks has one line per
// element. The synthetic model is allocated back to back, which flatters the lookups; with
// --model the metrics file is read against a model loaded from an XMI file (as written by
// generate_model --metrics), its elements spread over the heap as a real load leaves them.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/Log.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"
#include "xmi/XMIResult.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string elementId(std::size_t i) {
    return "EAID_" + std::to_string(1000000 + i);
}

std::unique_ptr<XMIResult> makeModel(std::size_t elements) {
    auto model = std::make_unique<XMIResult>();
    for (std::size_t i = 0; i < elements; ++i) {
        auto* element = model->create<UMLClass>();
        element->id = elementId(i);
        model->idRegistry.add(element);
    }
    return model;
}

// Same shape as an exporter's output: count blocks, integer blocks and a boolean block,
// separated by two empty lines; one line in fifty names an element the model lacks.
std::size_t writeMetricsFile(const std::string& path, std::size_t elements) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFFu;
    };
    std::size_t lines = 0;
    for (const char* name : {"Classes", "Packages"}) {
        out << '[' << name << "]\n" << elements << "\n\n\n";
        lines += 4;
    }
    for (const char* name : {"Lines of code %int", "NOM", "WMC", "Depth of inheritance"}) {
        out << '[' << name << "]\n";
        for (std::size_t i = 0; i < elements; ++i) {
            std::string id = i % 50 == 49 ? "missing_" + std::to_string(i) : elementId(i);
            out << id << ",Name" << i << ",," << next() % 500 << '\n';
        }
        out << "\n\n";
        lines += elements + 3;
    }
    out << "[Is abstract]\n";
    for (std::size_t i = 0; i < elements; ++i)
        out << elementId(i) << ',' << (next() % 7 == 0 ? "true" : "false") << '\n';
    out << "\n\n";
    lines += elements + 3;
    return lines;
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double plainRead(const std::string& path, std::size_t& lines) {
    auto start = Clock::now();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::size_t count = 0, bytes = 0;
    while (std::getline(in, line)) {
        ++count;
        bytes += line.size();
    }
    lines = count + (bytes == 0 ? 1 : 0); // keeps the loop from being optimised away
    return seconds(Clock::now() - start);
}

std::unique_ptr<XMIResult> loadModel(const std::string& path) {
    std::unique_ptr<XMINode> root = parseFile(path);
    XMIReader reader;
    reader.read(root.get());
    return reader.takeResult();
}

void releaseEmptyLists(XMIResult& model) {
    for (const auto& object : model.objects()) {
        auto* element = dynamic_cast<UMLModelElement*>(object.get());
        if (element && element->userData.empty())
            element->userData.shrink_to_fit();
    }
}

int benchLoadedModel(const std::string& modelPath, const std::string& metricsPath) {
    XmlParserSession session;
    processLog().redirect(nullptr);
    std::unique_ptr<XMIResult> model;
    try {
        model = loadModel(modelPath);
    } catch (const XMIParseException& e) {
        std::fprintf(stderr, "rejected: %s\n", e.getMessage().c_str());
        return 1;
    }
    double bestPlain = 1e9, bestRead = 1e9;
    std::size_t lines = 0, records = 0;
    for (int round = 0; round < 5; ++round) {
        bestPlain = std::min(bestPlain, plainRead(metricsPath, lines));
        auto start = Clock::now();
        auto collection = loadMetricsFile(metricsPath, *model);
        bestRead = std::min(bestRead, seconds(Clock::now() - start));
        records = collection->elementMetrics.size();
        // The next round reads against a model as a first load finds it: without this
        // round's records, and without the room their lists kept.
        detachElementMetrics(*model);
        releaseEmptyLists(*model);
    }
    std::printf("metrics file: %zu lines, %zu records on a model of %zu elements with an id\n",
                lines, records, model->idRegistry.size());
    std::printf("plain line read: %.4f s\nmetrics read:    %.4f s\nratio:           %.2fx\n",
                bestPlain, bestRead, bestRead / bestPlain);
    return 0;
}

int usage(const char* self) {
    std::fprintf(stderr, "usage: %s [FILE] [ELEMENTS]\n       %s --model MODEL.xmi METRICS\n", self,
                 self);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--model")
        return benchLoadedModel(argv[2], argv[3]);
    // FILE is overwritten: an option, or a misspelt --model line, must never become its name.
    if (argc > 3)
        return usage(argv[0]);
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            return usage(argv[0]);
    }
    if (argc > 2) {
        const std::string elements = argv[2];
        if (elements.empty() || elements.find_first_not_of("0123456789") != std::string::npos)
            return usage(argv[0]);
    }
    const std::string path =
        argc > 1
            ? argv[1]
            : (std::filesystem::temp_directory_path() / "brennimore-metrics-bench.txt").string();
    const std::size_t elements = argc > 2 ? std::stoul(argv[2]) : 200000;
    const std::size_t written = writeMetricsFile(path, elements);
    processLog().redirect(nullptr);

    double bestPlain = 1e9, bestRead = 1e9;
    std::size_t lines = 0, records = 0;
    for (int round = 0; round < 5; ++round) {
        bestPlain = std::min(bestPlain, plainRead(path, lines));
        auto model = makeModel(elements);
        auto start = Clock::now();
        auto collection = loadMetricsFile(path, *model);
        bestRead = std::min(bestRead, seconds(Clock::now() - start));
        records = collection->elementMetrics.size();
    }
    std::printf("metrics file: %zu lines (%zu written), %zu records on %zu elements\n", lines,
                written, records, elements);
    std::printf("plain line read: %.3f s\nmetrics read:    %.3f s\nratio:           %.2fx\n",
                bestPlain, bestRead, bestRead / bestPlain);
    return 0;
}
