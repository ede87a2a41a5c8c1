#include <iostream>

#include <CLI/CLI.hpp>

#include "inspect/Inspect.h"

int main(int argc, char** argv) {
    // Only the standard streams write, so they need not share stdio's buffers.
    std::ios::sync_with_stdio(false);
    CLI::App app{"Loads a UML model as Brennimore does and prints what was loaded as JSON."};
    InspectOptions options;
    app.add_option("MODEL", options.modelFile, "XMI file to load");
    app.add_option("--element", options.elementId,
                   "Also print the fields of the element with this id");
    app.add_flag("--diagram-elements", options.diagramElements,
                 "List every diagram's elements in drawing order");
    app.add_option("--metrics", options.metricsFile,
                   "Load this metrics file after the model and describe it");
    app.add_option("--config", options.configFile,
                   "Read this configuration block into the defaults and print the store");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    options.hasElement = app.count("--element") > 0;
    if (options.modelFile.empty() && options.configFile.empty()) {
        std::cerr << "A MODEL file (or --config FILE) is required.\n" << app.help();
        return 2;
    }
    // Written as it is made: a description of a large file runs to many megabytes.
    const int code = inspectModel(options, std::cout);
    std::cout << std::endl;
    return code;
}
