// The result text on stdout, kept apart from whatever a bot prints.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace velkaran {

// Keeps the real stdout for the result text and points file descriptor 1 at stderr, so that
// a bot that prints cannot mix its output into the text. Returns the stream for the text, or
// null when stdout was not open.
std::FILE *ReserveStdoutForResult();

// Writes every line followed by "\n" and flushes; false when writing failed.
bool WriteResultText(std::FILE *Out, const std::vector<std::string> &Lines);

}  // namespace velkaran
