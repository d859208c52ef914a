// Sine table with integer angles: 8192 units to the full turn.
#pragma once
#include <stdint.h>

enum { SIN_TABLE_SIZE = 8192 };

// Fills the table; call once before GetSin.
void InitSinTable();
// The sine of angle (8192 units a turn; any integer wraps).
float GetSin(int32_t angle);
// The table entry half a turn away: the negated sine of angle.
float GetSinHalfTurn(int32_t angle);
