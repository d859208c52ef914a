// Where a picture drawn at a logical size lands in the back buffer, and where a
// back-buffer point lies in the picture. No Windows header: tested natively too.
#pragma once
#include <stdint.h>

// Scaling modes, as application.h's SCALE_ names: 0 the largest aspect-keeping
// fit, 1 the largest whole multiple, 2 the whole back buffer.
enum : uint32_t { VIEW_FIT = 0, VIEW_INTEGER = 1, VIEW_STRETCH = 2 };

// A rectangle of whole pixels: corner and size.
struct ViewRect {
  int32_t x, y, width, height;
};

// The picture's place in a back buffer, centred. VIEW_INTEGER takes the largest
// whole multiple that fits and, in a buffer smaller than the picture, the fit.
// Any size zero gives an empty rectangle.
ViewRect PlaceView(uint32_t width, uint32_t height, uint32_t backWidth, uint32_t backHeight,
                   uint32_t scaling);

// A back-buffer point in picture pixels through that place, rounded down and
// not clamped: outside the picture it is negative or beyond the size. An empty
// place gives the point unchanged.
void MapToView(const ViewRect& place, uint32_t width, uint32_t height, int32_t* x, int32_t* y);
