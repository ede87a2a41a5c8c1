#include "graphics/CanvasWindow.h"

#include <GL/gl.h>

CanvasWindow::CanvasWindow(int px, int py, int w, int h) : x(px), y(py), width(w), height(h) {}

void CanvasWindow::setViewport(int px, int py, int w, int h) {
    x = px;
    y = py;
    width = w;
    height = h;
}

void CanvasWindow::render(bool /*useDisplayList*/) {
    glViewport(x, y, width, height);
    glScissor(x, y, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
