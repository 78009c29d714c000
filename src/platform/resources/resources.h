// The program's compiled resources (the .res file built from res/strovane.rc
// and linked into the binary), found by type, name and language as the
// system's resource loader finds them.
#pragma once

#include "platform/wintypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The system's header has these names as macros; here they are the
// constants of the resource reader, on both systems.
#ifdef _WIN32
#undef RT_ICON
#undef RT_DIALOG
#undef RT_STRING
#undef RT_GROUP_ICON
#undef RT_MANIFEST
#undef LANG_NEUTRAL
#endif

namespace platform::resources {

inline constexpr WORD RT_ICON = 3;
inline constexpr WORD RT_DIALOG = 5;
inline constexpr WORD RT_STRING = 6;
inline constexpr WORD RT_GROUP_ICON = 14;
inline constexpr WORD RT_MANIFEST = 24;
inline constexpr WORD RT_DLGINIT = 240;

inline constexpr WORD LANG_EN_US = 0x0409;
inline constexpr WORD LANG_NEUTRAL = 0x0000;

// A type or name: a 16-bit ordinal or a UTF-16 string.
struct ResId {
    std::optional<WORD> ordinal;
    std::u16string name;
    static ResId Of(WORD n) { return ResId{n, {}}; }
    bool operator==(const ResId&) const = default;
};

struct Resource {
    ResId type;
    ResId name;
    WORD language = 0;
    std::span<const std::uint8_t> data;
};

// Parses a binary .res file (the empty first entry skipped).
// Returns nothing when the bytes are not a well-formed .res file.
std::optional<std::vector<Resource>> ParseRes(std::span<const std::uint8_t> bytes);

// The resources linked into this program.
const std::vector<Resource>& ProgramResources();

// Looks up a resource: the exact language first, then neutral, then any.
std::optional<std::span<const std::uint8_t>> Find(const ResId& type, const ResId& name,
                                                   WORD language = LANG_EN_US);
std::optional<std::span<const std::uint8_t>> FindIn(const std::vector<Resource>& all, const ResId& type,
                                                    const ResId& name, WORD language = LANG_EN_US);

// The bytes of an .ico file rebuilt from icon group groupId and its images
// (what the toolkit loads), or nothing when there is no such group or an
// image is missing or malformed. 24-bit images come out as 32-bit images
// with their mask as alpha, which the toolkit's reader needs.
std::optional<std::vector<std::uint8_t>> BuildIconFile(WORD groupId);
std::optional<std::vector<std::uint8_t>> BuildIconFileFrom(const std::vector<Resource>& all, WORD groupId);

// The string with id from the string table (blocks of 16), or nothing.
std::optional<std::u16string> LoadString(UINT id);
std::optional<std::u16string> LoadStringFrom(const std::vector<Resource>& all, UINT id);

// One initial list item of a dialog: control id, message, text.
struct DlgInitItem {
    WORD controlId;
    WORD message;  // 0x0403: add a string to a combo box
    std::string text;
};
// Parses DLGINIT records up to the zero terminator; nothing when malformed.
std::optional<std::vector<DlgInitItem>> ParseDlgInit(std::span<const std::uint8_t> bytes);

// A dialog template (extended form), as the dialog manager reads it.
struct DialogItem {
    DWORD helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    ResId windowClass;  // ordinals 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box
    ResId title;        // text, or an ordinal (an icon for SS_ICON statics)
};
struct DialogTemplate {
    DWORD exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    ResId menu, windowClass;
    std::u16string caption;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};
std::optional<DialogTemplate> ParseDialog(std::span<const std::uint8_t> bytes);

} // namespace platform::resources
