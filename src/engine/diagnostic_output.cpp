#include "engine/diagnostic_output.h"

#include "platform/text/wide_format.h"

#include <cstdio>

namespace engine {

namespace {
unsigned long diagnosticCount = 0;
}

void PrintDiagnostic(const char16_t* text) {
    ++diagnosticCount;
    const std::string utf8 = platform::text::ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    // Flushed at once: without a line end it would otherwise wait in the buffer.
    std::fflush(stdout);
}

unsigned long DiagnosticCount() {
    return diagnosticCount;
}

} // namespace engine
