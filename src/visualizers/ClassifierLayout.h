#pragma once
// Where the title, the separators and the compartment lines of a classifier box go. Pure
// arithmetic over the box and the measured text heights, so the drawing only emits it.
#include <string>
#include <vector>

#include "graphics/Geometry.h"

struct ClassifierLayout {
    struct Line {
        std::string text;
        Point at;
        int flags = 0;
    };
    Point titleAt;        // hanging below, centred (flags 5)
    float firstSeparator; // y of the line under the title
    bool hasSecondSeparator = false;
    float secondSeparator = 0.0f;
    std::vector<Line> attributes;
    std::vector<Line> operations;
};

struct ClassifierLayoutInput {
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    float textSpacing = 0.0f;
    float titleHeight = 0.0f;
    float featureHeight = 0.0f; // tallest feature name, 0 without features
    std::vector<std::string> attributes;
    std::vector<std::string> operations;
    bool showAttributes = true;
    bool showOperations = true;
};

ClassifierLayout layoutClassifier(const ClassifierLayoutInput& in);
