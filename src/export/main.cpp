#include <iostream>

#include <CLI/CLI.hpp>

#include "export/Export.h"

int main(int argc, char** argv) {
    CLI::App app{"Renders a diagram of a UML model offscreen as Brennimore draws it, writes the "
                 "image and prints what was drawn as JSON."};
    ExportOptions options;
    std::string size, camera, pick, rows, select, show, tile;
    std::vector<std::string> glyphs;
    bool legend = false, noLegend = false;
    app.add_option("MODEL", options.modelFile, "XMI file to load")->required();
    app.add_option("-d,--diagram", options.diagram,
                   "Diagram to show, by name or xmi.id (default: the first with elements)");
    app.add_option("-V,--visualizer", options.visualizer,
                   "Visualizer by display name (default: \"Simple Metrics\")");
    app.add_option("-s,--size", size, "Image size WxH in pixels (default 1024x768)");
    app.add_option("--camera", camera, "ZOOM,PANX,PANY,ROT0,ROT1 instead of zoom to fit");
    app.add_flag("--orthographic", options.orthographic, "Orthographic instead of perspective");
    app.add_flag("--stereo", options.stereo, "Red/cyan stereo");
    app.add_option("--select", select, "Select these elements before drawing: ID[,ID...]");
    app.add_option("--pick", pick, "Pick at pixel X,Y from the image's top-left corner");
    app.add_flag("--frames", options.frames, "Draw the view frames");
    app.add_option("-o,--output", options.output,
                   "Image file: PNG, JPEG, SVG, PDF or EPS by extension");
    app.add_option("-m,--metrics", options.metricsFile,
                   "Metrics file (default: the .txt beside the model)");
    app.add_option("--show", show, "Metrics to show: NAME[,NAME...]");
    app.add_option("--glyph", glyphs, "Glyph of a metric by display name: NAME=GLYPH")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--rows", rows, "Rows of the glyph grid (-1: automatic)");
    app.add_option("-c,--config", options.configFile,
                   "Configuration file: settings, views, metric properties, shown metrics");
    app.add_option("--tile", tile,
                   "Largest side in pixels of one rendering pass; larger images are drawn in "
                   "tiles (default 4096)");
    auto* on = app.add_flag("--legend", legend, "Draw the legend");
    app.add_flag("--no-legend", noLegend, "Leave the legend out")->excludes(on);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? ExportOk : ExportUsage;
    }

    try {
        if (app.count("--size"))
            options.size = parseImageSize(size);
        if (app.count("--camera"))
            options.camera = parseCamera(camera);
        if (app.count("--pick"))
            options.pick = parsePixelPoint(pick);
        if (app.count("--rows"))
            options.rows = parseRows(rows);
        if (app.count("--tile"))
            options.tileSide = parseTileSide(tile);
        if (app.count("--select"))
            options.select = splitList(select, "--select");
        if (app.count("--show"))
            options.show = splitList(show, "--show");
        for (const std::string& g : glyphs)
            options.glyphs.push_back(parseGlyphChoice(g));
        if (legend || noLegend)
            options.legend = legend;
        nlohmann::ordered_json out;
        const int code = runExport(options, out);
        // Names and paths that are no UTF-8 get U+FFFD for their bad bytes.
        std::cout << out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << std::endl;
        return code;
    } catch (const UsageError& e) {
        std::cerr << "brennimore-export: " << e.what() << "\n";
        return ExportUsage;
    }
}
