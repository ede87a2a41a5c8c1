#include "visualizers/ConfigurationFile.h"

#include <boost/regex.hpp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "common/DataFiles.h"
#include "common/TextLines.h"
#include "graphics/CanvasViews.h"
#include "metrics/MetricCollection.h"

namespace {

const char* const globalHeader = "[Global configuration]";
const char* const layoutHeader = "[Window layout]";
const char* const propertiesHeader = "[Metric properties]";
const char* const shownHeader = "[Active metrics]";
const char* const endLine = "<eol>";

bool readLine(std::istream& in, std::string& line) {
    if (!readBoundedLine(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// Reads one line and says whether it is the header; a line that is not is consumed all the
// same, so a broken header costs exactly its own section.
bool readHeader(std::istream& in, const char* header) {
    std::string line;
    return readLine(in, line) && line == header;
}

// N of a "Count (N)" line, 0 when the line has another shape. Counts beyond 64 bits
// saturate; the reader stops at the end of the stream long before.
std::uint64_t entryCount(const std::string& line) {
    static const boost::regex countLine(R"(^Count \(([0-9]+)\)$)");
    boost::smatch match;
    try {
        if (!boost::regex_match(line, match, countLine))
            return 0;
    } catch (const std::runtime_error&) {
        return 0;
    }
    std::uint64_t n = 0;
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    for (char c : match.str(1)) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (n > (limit - digit) / 10)
            return limit;
        n = n * 10 + digit;
    }
    return n;
}

MetricProperties* recordOf(MetricCollection* metrics, const std::string& name) {
    if (!metrics)
        return nullptr;
    auto found = metrics->properties.find(name);
    return found == metrics->properties.end() ? nullptr : found->second.get();
}

void readMetricEntries(std::istream& in, const ConfigurationTargets& targets) {
    std::string line;
    if (!readLine(in, line))
        return;
    const std::uint64_t count = entryCount(line);
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string name;
        std::string glyphName;
        if (!readLine(in, name) || !readLine(in, glyphName))
            return;
        if (MetricProperties* record = recordOf(targets.metrics, name)) {
            if (targets.glyphs)
                record->viz = findGlyph(*targets.glyphs, glyphName);
            record->config().readText(in);
        } else {
            // A metric that is not loaded: its block is read and dropped.
            Configuration discarded;
            discarded.readText(in);
        }
        if (!in)
            return;
    }
}

void readShownMetrics(std::istream& in, MetricCollection* metrics) {
    if (metrics)
        metrics->activeMetrics.clear();
    std::string name;
    while (readLine(in, name) && name != endLine)
        if (recordOf(metrics, name))
            metrics->activeMetrics.insert(name);
}

} // namespace

void writeConfiguration(std::ostream& out, const ConfigurationTargets& targets) {
    out << globalHeader << '\n';
    if (targets.global) {
        targets.global->writeText(out);
    } else {
        Configuration defaults;
        setDefaultConfiguration(defaults);
        defaults.writeText(out);
    }

    out << layoutHeader << '\n';
    if (targets.views) {
        targets.views->writeLayout(out);
    } else {
        CanvasViews single(1, 1);
        single.writeLayout(out);
    }

    out << propertiesHeader << '\n';
    if (targets.metrics) {
        std::size_t records = 0;
        for (const auto& entry : targets.metrics->properties)
            records += entry.second ? 1 : 0;
        if (records > 0) {
            out << "Count (" << std::to_string(records) << ")\n";
            for (const auto& [name, record] : targets.metrics->properties) {
                if (!record)
                    continue;
                out << name << '\n' << (record->viz ? record->viz->getName() : "") << '\n';
                record->settings().writeText(out);
            }
        }
    }

    out << shownHeader << '\n';
    if (targets.metrics)
        for (const auto& [name, record] : targets.metrics->properties)
            if (record && targets.metrics->activeMetrics.count(name))
                out << name << '\n';
    out << endLine << '\n';
}

ConfigurationReadResult readConfiguration(std::istream& in, const ConfigurationTargets& targets) {
    ConfigurationReadResult result;
    if (readHeader(in, globalHeader)) {
        Configuration discarded;
        (targets.global ? *targets.global : discarded).readText(in);
        result.global = true;
    }
    if (readHeader(in, layoutHeader)) {
        if (targets.views) {
            targets.views->readLayout(in, targets.model);
        } else {
            CanvasViews discarded(1, 1);
            discarded.readLayout(in, nullptr);
        }
        result.layout = true;
    }
    if (readHeader(in, propertiesHeader)) {
        readMetricEntries(in, targets);
        result.metricProperties = true;
    }
    if (readHeader(in, shownHeader)) {
        readShownMetrics(in, targets.metrics);
        result.shownMetrics = targets.metrics != nullptr;
    }
    return result;
}

ConfigurationFileStatus saveConfigurationFile(const std::string& path,
                                              const ConfigurationTargets& targets) {
    ConfigurationFileStatus status;
    // The text is complete before the file is touched; only the file itself can fail.
    std::ostringstream text;
    writeConfiguration(text, targets);
    std::ofstream file(path, std::ios::out | std::ios::trunc);
    if (file.is_open()) {
        const std::string contents = text.str();
        file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        file.close();
    }
    status.ok = !file.fail();
    if (!status.ok)
        status.error = "Could not write the configuration file \"" + path + "\".";
    return status;
}

ConfigurationFileStatus loadConfigurationFile(const std::string& path,
                                              const ConfigurationTargets& targets) {
    ConfigurationFileStatus status;
    // Only a regular file is read: a FIFO would wait for a writer, a device might never end.
    std::ifstream file;
    openForReading(file, path);
    std::string contents;
    if (file.is_open()) {
        // Read whole first, so that a read error applies nothing; in blocks, so that the
        // text is all that is held.
        std::error_code sizeError;
        const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
        if (!sizeError && size < std::uintmax_t{1} << 32)
            contents.reserve(static_cast<std::size_t>(size));
        char block[1 << 16];
        while (file.read(block, sizeof block) || file.gcount() > 0)
            contents.append(block, static_cast<std::size_t>(file.gcount()));
    }
    if (!file.is_open() || file.bad()) {
        status.error = "Could not read the configuration file \"" + path + "\".";
        return status;
    }
    // Windows line ends: every section's reader sees plain lines. Removed in place.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < contents.size(); ++i)
        if (!(contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n'))
            contents[kept++] = contents[i];
    contents.resize(kept);
    // The sections are read from the text where it lies, without a stream's copy of it.
    struct TextBuffer : std::streambuf {
        explicit TextBuffer(std::string& text) {
            setg(text.data(), text.data(), text.data() + text.size());
        }
    } buffer(contents);
    std::istream in(&buffer);
    // Nothing is applied unless a header matched, so this test can follow the read.
    status.read = readConfiguration(in, targets);
    status.ok = status.read.anySection();
    if (!status.ok)
        status.error = "\"" + path + "\" is not a configuration file.";
    return status;
}
