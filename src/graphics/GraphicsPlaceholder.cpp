// Keeps the render library non-empty until its drawing code lands.
namespace brennimore_render_placeholder { int unused = 0; }
