#include "graphics/view_scale.h"

// Rounds down, also below zero.
static int32_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (int32_t)(q * b > a ? q - 1 : q);
}

ViewRect PlaceView(uint32_t width, uint32_t height, uint32_t backWidth, uint32_t backHeight,
                   uint32_t scaling) {
  ViewRect place = {0, 0, 0, 0};
  if (width == 0 || height == 0 || backWidth == 0 || backHeight == 0) return place;
  uint64_t w = backWidth, h = backHeight;
  if (scaling != VIEW_STRETCH) {
    const uint64_t multiple = backWidth / width < backHeight / height ? backWidth / width
                                                                      : backHeight / height;
    if (scaling == VIEW_INTEGER && multiple >= 1) {
      w = width * multiple;
      h = height * multiple;
    } else if ((uint64_t)backWidth * height <= (uint64_t)backHeight * width) {
      h = (uint64_t)height * backWidth / width;  // as wide as the buffer
    } else {
      w = (uint64_t)width * backHeight / height;  // as high as the buffer
    }
  }
  place.width = (int32_t)w;
  place.height = (int32_t)h;
  place.x = (int32_t)((backWidth - w) / 2);
  place.y = (int32_t)((backHeight - h) / 2);
  return place;
}

void MapToView(const ViewRect& place, uint32_t width, uint32_t height, int32_t* x, int32_t* y) {
  if (place.width <= 0 || place.height <= 0) return;
  *x = FloorDiv(((int64_t)*x - place.x) * width, place.width);
  *y = FloorDiv(((int64_t)*y - place.y) * height, place.height);
}
