// The resources of the Windows program: its own resource section (windres
// compiled the script into it), enumerated once through the system's
// resource loader and read in place.
#include "platform/resources/resources.h"

#include <string>

namespace platform::resources {
namespace {

// A type or name as the loader hands it to the enumeration: an ordinal
// (below 0x10000) or a string.
ResId IdOf(LPCWSTR id) {
    if (IS_INTRESOURCE(id))
        return ResId::Of(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id)));
    return ResId{std::nullopt, std::u16string(AsUtf16(id))};
}

struct Enumeration {
    HMODULE module;
    std::vector<Resource> found;
};

BOOL CALLBACK AddLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR context) {
    auto& all = *reinterpret_cast<Enumeration*>(context);
    const HRSRC info = FindResourceExW(module, type, name, language);
    const HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (data)
        all.found.push_back(Resource{IdOf(type), IdOf(name), language, {data, SizeofResource(module, info)}});
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
    EnumResourceLanguagesW(module, type, name, AddLanguage, context);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR context) {
    EnumResourceNamesW(module, type, AddName, context);
    return TRUE;
}

} // namespace

const std::vector<Resource>& ProgramResources() {
    static const std::vector<Resource> all = [] {
        Enumeration enumeration{GetModuleHandleW(nullptr), {}};
        EnumResourceTypesW(enumeration.module, AddType, reinterpret_cast<LONG_PTR>(&enumeration));
        return enumeration.found;
    }();
    return all;
}

} // namespace platform::resources
