// Diagnostics the operator of the windowed tool does not normally see:
// written to standard output as they are, without a line end.
#pragma once

namespace engine {

void PrintDiagnostic(const char16_t* text);

// How many diagnostics have been written so far, so that a caller printing
// lines of its own to standard output can tell when one was left open.
unsigned long DiagnosticCount();

} // namespace engine
