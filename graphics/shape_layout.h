// Lines, triangles, circles and outlines as the batch's six-vertex groups (two
// triangles each, some empty), untextured, every triangle clockwise on screen so
// that culling never hides a shape. No Windows header: tested natively.
#pragma once
#include <stdint.h>

#include "graphics/quad_layout.h"

enum : uint32_t {
  CIRCLE_MIN_SEGMENTS = 8,
  // Enough for a radius of 400,000 pixels; larger circles stray further.
  CIRCLE_MAX_SEGMENTS = 2048,
  RECT_LINE_GROUPS = 4,
};

// The even number of segments, from CIRCLE_MIN_SEGMENTS to CIRCLE_MAX_SEGMENTS,
// the fewest whose chords keep within half a pixel of a circle of that radius in
// pixels: radius * (1 - cos(pi / n)) <= 0.5. 0 for a radius not above 0 or not finite.
uint32_t CircleSegments(float radius);

// One triangle and an empty one, the corners reordered when they run
// counter-clockwise.
void LayoutTriangle(Vertex2D out[QUAD_VERTICES], float x0, float y0, float x1, float y1,
                    float x2, float y2, uint32_t color);
// The rectangle width wide centred on the segment; empty for a zero length or a
// width not above 0.
void LayoutLine(Vertex2D out[QUAD_VERTICES], float x0, float y0, float x1, float y1,
                float width, uint32_t color);
// A filled circle of segments (even) triangles from the centre, two to a group:
// segments / 2 groups. The corners lie a little outside the radius so that the
// polygon's area is the circle's; no edge strays further than the chord would.
void LayoutCircle(Vertex2D* out, float cx, float cy, float radius, uint32_t segments,
                  uint32_t color);
// A ring inside the circle, from radius - width to radius, one group a segment:
// segments groups. A width over the radius fills the circle.
void LayoutRing(Vertex2D* out, float cx, float cy, float radius, float width,
                uint32_t segments, uint32_t color);
// The border width wide inside the rectangle (corners in any order), in
// RECT_LINE_GROUPS groups; a border over half the rectangle fills it.
void LayoutRectLine(Vertex2D out[RECT_LINE_GROUPS * QUAD_VERTICES], float left, float top,
                    float right, float bottom, float width, uint32_t color);
