// Builds small .res files in memory, entry by entry, for tests of the
// resource reader: ordinal types and names, a language, and the data.
#pragma once

#include "platform/resources/resources.h"

#include <cstdint>
#include <string>
#include <vector>

namespace test_res {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void PutText(Bytes& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }

// One entry with ordinal type and name.
inline void AddEntry(Bytes& res, WORD type, WORD name, WORD language, const Bytes& data) {
    Put32(res, static_cast<std::uint32_t>(data.size()));
    Put32(res, 32);
    Put16(res, 0xFFFF);
    Put16(res, type);
    Put16(res, 0xFFFF);
    Put16(res, name);
    Put32(res, 0);       // DataVersion
    Put16(res, 0x1030);  // MemoryFlags
    Put16(res, language);
    Put32(res, 0);  // Version
    Put32(res, 0);  // Characteristics
    res.insert(res.end(), data.begin(), data.end());
    while (res.size() % 4)
        res.push_back(0);
}

// A .res file: the empty marker entry, then the given entries.
struct ResFile {
    Bytes bytes;
    ResFile() { AddEntry(bytes, 0, 0, 0, {}); }
    ResFile& Add(WORD type, WORD name, WORD language, const Bytes& data) {
        AddEntry(bytes, type, name, language, data);
        return *this;
    }
};

} // namespace test_res
