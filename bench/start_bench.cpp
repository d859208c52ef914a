// Time from the program's start (main) to its first frame on screen: the window,
// input, sound and the Direct3D device (InitApplication), then one cleared frame
// drawn and presented. Wine's own start-up, before main, is not counted.
#include <stdio.h>

#include "app/application.h"
#include "bench/bench_device.h"
#include "graphics/graphics.h"

int main() {
  const LONGLONG start = Ticks();
  SetStartOptions(START_WITHOUT_CONTROLLER | START_WITHOUT_SOUND);
  if (InitApplication("start_bench", kBenchWidth, kBenchHeight, 1) != 0) {
    printf("start_bench: no start (needs a display); nothing measured\n");
    return 1;
  }
  const LONGLONG started = Ticks();
  if (BeginRender(0) == 0) EndRender();
  Flip(0xFF000000);
  const LONGLONG shown = Ticks();
  printf("start to first frame: InitApplication %.1f ms, first frame drawn and presented "
         "%.1f ms, in all %.1f ms after main\n", Seconds(start, started) * 1000,
         Seconds(started, shown) * 1000, Seconds(start, shown) * 1000);
  ReleaseApplication();
  return 0;
}
