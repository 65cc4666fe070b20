// libFuzzer target over the token and line tests: the input is split into lines and tokens by its
// own bytes, every test runs over them, and a broken invariant between the tests (see
// token_checks.h) aborts with its description.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "token_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string failure = tarvik::fuzz::runTokenChecks(data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "broken invariant: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
