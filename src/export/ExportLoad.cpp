#include "export/ExportLoad.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/Exception.h"
#include "common/FileNames.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

bool isReadableRegularFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    return in.is_open();
}

std::string besideMetricsFile(const std::string& modelFile) {
    const std::string name = metricsFileNameFor(modelFile);
    return name != modelFile && isReadableRegularFile(name) ? name : std::string();
}

MessageCollector::MessageCollector() : previous_(installUserMessages(this)) {}

MessageCollector::~MessageCollector() {
    installUserMessages(previous_);
}

void MessageCollector::showMessage(const std::string& text, const std::string& caption, int) {
    messages.push_back({caption, text});
}

void loadModelFile(const std::string& path, LoadedModel& loaded) {
    loaded.metrics.clear();
    loaded.model.reset();
    std::unique_ptr<XMINode> tree = parseFile(path);
    if (!tree)
        return;
    XMIReader reader;
    try {
        reader.read(tree.get());
    } catch (const XMIParseException& e) {
        showUserMessage(e.getMessage(), "Error loading model",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::ParentFrame);
        return;
    }
    loaded.model = reader.takeResult();
}

bool loadMetricsInto(const std::string& path, LoadedModel& loaded) {
    if (!loaded.model)
        return false;
    try {
        loaded.metrics.install(loadMetricsFile(path, *loaded.model));
    } catch (const MetricsParseException& e) {
        showUserMessage(e.getMessage(), "Brennimore error",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::IconError |
                            MessageStyle::ParentFrame);
        return false;
    }
    return true;
}
