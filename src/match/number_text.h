// Numbers as the result texts print them: plain decimal, no grouping, the caller's decimal separator.
#pragma once

#include <string>

namespace velkaran {

// Value in the general format with at most 15 significant digits, never with an exponent:
// no trailing zeros, no separator for an integral value (0, 100), DecimalSeparator between the
// integral and the fractional digits. Independent of the C locale. NaN and infinities print as
// "nan", "inf" and "-inf".
std::string FormatGeneral(double Value, const std::string &DecimalSeparator);

// The number of characters (UTF-8 code points) of Text, for aligning columns.
int TextLength(const std::string &Text);

}  // namespace velkaran
