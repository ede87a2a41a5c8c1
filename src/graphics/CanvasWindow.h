#pragma once
// One view of the canvas: a rectangle of the canvas in pixels, origin at the bottom-left
// corner, which it renders into.
class CanvasWindow {
public:
    CanvasWindow(int x, int y, int width, int height);

    void setViewport(int x, int y, int width, int height);

    // Restricts drawing to the view's rectangle and clears its colour, depth and stencil.
    void render(bool useDisplayList);

    int x;
    int y;
    int width;
    int height;
};
