// Readable failure messages for resource ids: "#128" or "\"Text\"".
#pragma once

#include "platform/resources/resources.h"

#include <ostream>

namespace platform::resources {

inline void PrintTo(const ResId& id, std::ostream* os) {
    if (id.ordinal) {
        *os << '#' << *id.ordinal;
        return;
    }
    *os << '"';
    for (char16_t c : id.name) {
        if (c < 0x80)
            *os << static_cast<char>(c);
        else
            *os << "\\u" << std::hex << static_cast<int>(c) << std::dec;
    }
    *os << '"';
}

} // namespace platform::resources
