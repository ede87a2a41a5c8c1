#pragma once
// Loads a model and its metrics the way the desktop program does, without the window
// toolkit: the messages the program would show in boxes are collected instead, and the
// metrics file beside the model comes along when there is one.
#include <memory>
#include <string>
#include <vector>

#include "common/UserMessages.h"
#include "metrics/MetricCollection.h"
#include "xmi/XMIResult.h"

// A message the program would have shown in a box.
struct ShownMessage {
    std::string caption;
    std::string text;
};

// Collects the messages shown while it lives, then restores the previous sink.
class MessageCollector : public UserMessages {
public:
    MessageCollector();
    ~MessageCollector() override;
    MessageCollector(const MessageCollector&) = delete;
    MessageCollector& operator=(const MessageCollector&) = delete;
    void showMessage(const std::string& text, const std::string& caption, int style) override;

    std::vector<ShownMessage> messages;

private:
    UserMessages* previous_;
};

// A loaded model with its metrics. The metrics holder is declared after the model, so it
// goes first; neither reads the other on release.
struct LoadedModel {
    std::unique_ptr<XMIResult> model;
    MetricCollectionHolder metrics;

    MetricCollection* currentMetrics() const { return metrics.current(); }
};

// Parses and reads the model as the program's model load does; a rejected or unparsable
// document leaves the model null, its message shown through the installed sink. The parser
// library must be initialised (XmlParserSession).
void loadModelFile(const std::string& path, LoadedModel& loaded);

// Loads a metrics file against the loaded model; false, with the program's message shown,
// when it cannot be read. Nothing happens (false) without a model.
bool loadMetricsInto(const std::string& path, LoadedModel& loaded);
