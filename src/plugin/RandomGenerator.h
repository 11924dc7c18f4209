#pragma once
// The process-wide random generator that every plug-in instance draws from.
// Its state is one 32-bit word shared without a lock: instances on different
// threads may interleave their draws, as they always could.

#include <cstdint>

namespace flux {

// Advances the shared state (a linear congruential step) and returns it
// scaled into [0, 1).
double nextRandom();

// Reseeds the shared state from the UTC time of day in milliseconds.
void randomize();

// The state itself, for tests that need a known sequence.
uint32_t randomSeed();
void SetRandomSeed(uint32_t seed);

}  // namespace flux
