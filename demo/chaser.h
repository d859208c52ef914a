// The chaser demo: a player square moved by the pad bits and a swarm of enemies
// that steer after it.
#pragma once

void InitDemo();
