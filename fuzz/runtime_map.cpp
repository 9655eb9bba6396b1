// The runtime's Map against a plain model of it (tests/support/MapModel.h): any sequence of
// puts, removals, reads, walks that change the map as they go and clears, over keys that
// include NaNs, keeps the map agreeing with the model, without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "tests/support/MapModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tmr::FuzzInput in(data, size);
  tmr::MapModel model([&in] { return in.byte(); });
  for (size_t step = 0; !in.atEnd(); ++step) {
    if (auto diff = model.step(); !diff.empty()) {
      std::fprintf(stderr, "runtime map: step %zu: %s\n", step, diff.c_str());
      std::abort();
    }
  }
  return 0;
}
