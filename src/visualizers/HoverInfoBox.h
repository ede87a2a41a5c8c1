#pragma once
// A small information box that a view shows beside the pointer for what lies under it. The
// kinds (for a metric glyph, for a model element) draw their own content.
class HoverInfoBox {
public:
    HoverInfoBox() = default;
    HoverInfoBox(float px, float py, float room) : x(px), y(py), maxHeight(room) {}
    virtual ~HoverInfoBox() = default;

    // Draws the box in the view's pixel coordinates (origin bottom-left, y up).
    virtual void draw() = 0;

    float x = 0.0f; // upper-left corner of the box
    float y = 0.0f;
    float maxHeight = 0.0f; // room below the anchor
};
