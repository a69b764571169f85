#pragma once

// Checks of what the code itself guarantees (never of what a file says: a
// damaged file is reported, not asserted). They are compiled into the
// sanitizer build, where every test runs with them, and compiled out of the
// program, which pays nothing for them. A broken invariant stops the run at
// once with its place and text, before the damage spreads into a file.

namespace kordavelt {

[[noreturn]] void InvariantBroken(const char* what, const char* file, int line);

}  // namespace kordavelt

#ifdef KORDAVELT_CHECK_INVARIANTS
#define KORDAVELT_INVARIANT(condition, what) \
  ((condition) ? static_cast<void>(0) : ::kordavelt::InvariantBroken(what, __FILE__, __LINE__))
#else
// Not evaluated, but still compiled, so a check cannot rot unseen.
#define KORDAVELT_INVARIANT(condition, what) \
  static_cast<void>(sizeof(static_cast<bool>(condition)) + sizeof(what))
#endif
