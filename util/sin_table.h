// Sine table with integer angles: 8192 units to the full turn.
#pragma once
#include <stdint.h>

enum { SIN_TABLE_SIZE = 8192 };

void InitSinTable();
float GetSin(int32_t angle);
float GetSinHalfTurn(int32_t angle);
