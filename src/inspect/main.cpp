#include <iostream>

#include <CLI/CLI.hpp>

#include "inspect/Inspect.h"

int main(int argc, char** argv) {
    CLI::App app{"Loads a UML model like Brennimore does and prints what was loaded as JSON"};
    InspectOptions options;
    app.add_option("MODEL", options.modelFile, "XMI file to load")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    nlohmann::ordered_json out;
    int code = inspectModel(options, out);
    std::cout << out.dump(2) << std::endl;
    return code;
}
