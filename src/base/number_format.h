#pragma once

// The one number format of the program, used on screen, on paper and in
// every text file: at least `Digits` significant digits, all integer digits up
// to 11, magnitudes below `MinNull` shown as 0, "." as decimal separator.

#include <cstdint>
#include <string>
#include <string_view>

namespace kordavelt {

// Process-wide display settings, kept by the main window (registry values
// "Digits" and "MinNull"). The program has one thread, so plain globals do.
extern int Digits;
extern float MinNull;

std::string FormatNumber(double x);

// The standard decimal conversion of the program's inputs: the whole text,
// blanks around it aside, must be a number in decimal notation with "." as
// separator, whatever the process locale. On failure the value is unchanged.
bool ParseNumber(std::string_view text, double& value);
bool ParseInteger(std::string_view text, int& value);

// "#" + FormatNumber: appends one cell to a table row.
std::string AppendNumber(double x);

// FormatNumber with "+" in front of a positive value.
std::string FormatSignedNumber(double x);

// Splits a key into its high and low parts: FormatCode(1281, 8) is "5.1"
// (node 5, slot 1); shift 10 gives group and number of a receiver key.
// Empty for 0.
std::string FormatCode(std::int32_t code, int shift);

// "#" alone for 0, else "#" + FormatCode.
std::string AppendCode(std::int32_t code, int shift);

}  // namespace kordavelt
