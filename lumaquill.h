// Lumaquill: every call a game makes, in one include.
#pragma once
#include "app/application.h"
#include "app/play.h"
#include "app/save.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "sound/sound.h"
#include "task/task.h"
#include "util/crc32.h"
#include "util/failure.h"
#include "util/random.h"
#include "util/sin_table.h"
#include "util/vec2.h"
