// Diagnostics the operator of the windowed tool does not normally see:
// written to standard output as they are, without a line end.
#pragma once

namespace engine {

void PrintDiagnostic(const char16_t* text);

} // namespace engine
