#pragma once

// The rows of the table of cables and protective devices: one row per
// connection between two nodes, pairing a protective device with the line
// that follows it on the same connection.
//
//   ForEachTracedSource(calc, [&](int) { PairConnections(calc, rows); });

#include <functional>
#include <vector>

namespace kordavelt {

class CalcClass;
struct ElementRec;

struct ConnectionRow {
  ElementRec* device = nullptr;  // kinds 20, 21, 22
  ElementRec* line = nullptr;    // kinds 11 … 14
  int startNode = 0;             // the connection's bounds (AssignEndNodes)
  int endNode = 0;
};

bool IsResultDeviceKind(int kind);
bool IsResultLineKind(int kind);

// Traces every source in key order and calls `visit` with the source's
// number while its tree is in the TreeList. Sources whose tree cannot be
// traced are passed over (the trace has shown why).
void ForEachTracedSource(CalcClass& calc, const std::function<void(int source)>& visit);

// Appends the rows of the traced tree's elements 2 … Count(). A device starts
// a new row unless the last row is still empty on the same connection; a
// line fills the line of the last row when that row has none and lies on the
// same connection, otherwise it starts a new row.
void PairConnections(const CalcClass& calc, std::vector<ConnectionRow>& rows);

}  // namespace kordavelt
