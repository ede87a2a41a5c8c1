#include "export/ExportLoad.h"

#include "common/Exception.h"
#include "metrics/MetricsReader.h"
#include "xmi/ModelFile.h"

MessageCollector::MessageCollector() : previous_(installUserMessages(this)) {}

MessageCollector::~MessageCollector() {
    installUserMessages(previous_);
}

void MessageCollector::showMessage(const std::string& text, const std::string& caption, int) {
    messages.push_back({caption, text});
}

void loadModelFile(const std::string& path, LoadedModel& loaded) {
    loaded.metrics.clear();
    loaded.model = readModelFile(path);
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
