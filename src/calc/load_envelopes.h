#pragma once

// Envelopes of the loads below every protective element, for its
// time-current chart: the characteristic object of the element (a fuse, a
// breaker, a protective device or the source) keeps up to 21 points
// (ln I in kA, ln t in s), vth_class::envelope with envelopeCount the index
// of the last point.
//
// A point (ln I, ln t) says that a load current up to I lasts up to t. A
// terminal element contributes (ln(check current / 1000), 20) — its working
// current, lasting — and, when its largest starting current exceeds the
// working one, (ln(largest |Iп| / 1000), ln tп); a value of 0 is written as
// −20. Sections that join are joined point by point and sorted by current,
// a transformer adds ln Kт to the currents passing it (a current of 0 stays
// −20).
//
// Only the upper envelope is kept: a point whose current and time another
// point both reach or exceed tells nothing more and is dropped, so that the
// points run with rising currents and falling times and the chart's
// staircase through them is the envelope itself. Should more than 21 points
// still remain, the two neighbours whose merging raises the staircase by the
// smallest area (in the ln-ln plane) are merged into one point with the
// larger current of the two and the longer time, until 21 remain: the
// envelope is then drawn a little above the loads, never below them.

#include <vector>

#include "calc/vth_class.h"

namespace kordavelt {

class CalcClass;

// The load envelope under construction: points sorted by rising current.
using LoadEnvelope = std::vector<EnvelopePoint>;

// `into` joined with `other` and reduced to its upper envelope of at most
// kEnvelopePoints points.
void JoinEnvelopes(LoadEnvelope& into, const LoadEnvelope& other);

// The backward sweep over the traced tree that fills the envelope of every
// element with a characteristic. Always succeeds.
bool LoadEnvelopes(CalcClass& calc);

}  // namespace kordavelt
