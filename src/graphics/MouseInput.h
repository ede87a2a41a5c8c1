#pragma once
// What the views need to know of a mouse event, and the pointer shapes they ask for, kept
// free of the window toolkit; the canvas window translates both.

struct MouseEvent {
    enum class Kind {
        LeftDown,
        LeftUp,
        LeftDClick,
        MiddleDown,
        MiddleUp,
        MiddleDClick,
        RightDown,
        RightUp,
        RightDClick,
        Motion,
        Enter,
        Leave,
        Wheel,
    };

    Kind kind = Kind::Motion;
    // Window coordinates of the pointer: origin at the top-left corner, y down.
    int x = 0;
    int y = 0;
    // Buttons held while the event happened.
    bool leftIsDown = false;
    bool middleIsDown = false;
    bool rightIsDown = false;
    bool control = false;
    bool alt = false;
    bool shift = false;
    // Wheel rotation in the toolkit's units, 120 for one notch.
    int wheelRotation = 0;

    bool anyButtonDown() const { return leftIsDown || middleIsDown || rightIsDown; }
    bool isMotion() const { return kind == Kind::Motion; }
};

enum class CanvasCursor {
    Default,
    ResizeUpDown,    // over the separator of a horizontal division
    ResizeLeftRight, // over the separator of a vertical division
};
