#pragma once
// Base fixture of the rendering tests: the shared offscreen context with the canvas's fixed
// state, pixel coordinates and a white background.
#include <gtest/gtest.h>

#include "graphics/CanvasGL.h"
#include "graphics/Graphics.h"
#include "graphics/OffscreenContext.h"

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        context_ = &OffscreenContext::shared();
        setFixedGLState();
        context_->usePixelCoordinates();
        context_->clear();
        Graphics::setOpacity(1.0f);
    }
    void TearDown() override { Graphics::setOpacity(1.0f); }

    RgbaImage read() const { return context_->read(); }
    OffscreenContext& context() { return *context_; }

private:
    OffscreenContext* context_ = nullptr;
};
