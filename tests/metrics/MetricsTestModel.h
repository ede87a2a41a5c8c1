#pragma once
// A small model for metrics tests: classes A, B and C, and a diagram D whose id is
// registered but which is no model element.
#include <string>
#include <vector>

#include "common/Log.h"
#include "common/TestSupport.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIResult.h"

struct MetricsTestModel {
    MetricsTestModel() {
        for (const char* id : {"A", "B", "C"}) {
            auto* element = model.create<UMLClass>();
            element->id = id;
            model.idRegistry.add(element);
        }
        auto* diagram = model.create<UMLDiagram>();
        diagram->id = "D";
        model.idRegistry.add(diagram);
    }

    UMLModelElement& element(const std::string& id) {
        return *dynamic_cast<UMLModelElement*>(model.idRegistry.find(id));
    }

    // Reads the text as a metrics file, installs the collection and returns it.
    MetricCollection& load(const std::string& text) {
        TempFile file("metrics.txt", text);
        LogCapture capture;
        MetricCollection* c = holder.install(loadMetricsFile(file.path(), model));
        log = capture.lines();
        return *c;
    }

    XMIResult model;
    MetricCollectionHolder holder; // released before the model; neither touches the other
    std::vector<std::string> log;
};
