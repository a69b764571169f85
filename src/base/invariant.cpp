#include "base/invariant.h"

#include <cstdio>
#include <cstdlib>

namespace kordavelt {

void InvariantBroken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace kordavelt
