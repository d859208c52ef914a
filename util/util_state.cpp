#include "util/util_state.h"

UtilState Util = {{}, {}, &CalcCrc32FirstCall, nullptr, {}, nullptr};
