#pragma once
// A property that must hold for every input; a failure is a crash libFuzzer records.
#include <cstdlib>

inline void Check(bool holds) {
  if (!holds) std::abort();
}
