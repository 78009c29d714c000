// Extended dialog templates as the resource compiler writes them:
//   WORD 1, WORD 0xFFFF, DWORD helpId, DWORD exStyle, DWORD style,
//   WORD item count, short x, y, cx, cy, menu, class, caption,
//   and with DS_SETFONT: WORD point size, WORD weight, BYTE italic,
//   BYTE charset, typeface.
// Each item starts on a 4-byte boundary (counted from the template's start):
//   DWORD helpId, exStyle, style, short x, y, cx, cy, DWORD id, class, title,
//   WORD length of creation data, then that many bytes.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"

namespace platform::resources {
namespace {

constexpr DWORD kSetFont = 0x40;

DialogItem ReadItem(ByteReader& in) {
    in.align(4);
    DialogItem item;
    item.helpId = in.u32();
    item.exStyle = in.u32();
    item.style = in.u32();
    item.x = in.i16();
    item.y = in.i16();
    item.cx = in.i16();
    item.cy = in.i16();
    item.id = in.u32();
    item.windowClass = in.resId();
    item.title = in.resId();
    in.bytes(in.u16());  // creation data, unused by any control here
    return item;
}

} // namespace

std::optional<DialogTemplate> ParseDialog(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const WORD version = in.u16();
    const WORD signature = in.u16();
    if (!in.ok() || version != 1 || signature != 0xFFFF)
        return std::nullopt;

    DialogTemplate dlg;
    in.u32();  // help id
    dlg.exStyle = in.u32();
    dlg.style = in.u32();
    const WORD count = in.u16();
    dlg.x = in.i16();
    dlg.y = in.i16();
    dlg.cx = in.i16();
    dlg.cy = in.i16();
    dlg.menu = in.resId();
    dlg.windowClass = in.resId();
    dlg.caption = in.wstring();
    if (dlg.style & kSetFont) {
        dlg.pointSize = in.u16();
        dlg.weight = in.u16();
        dlg.italic = in.u8();
        dlg.charset = in.u8();
        dlg.typeface = in.wstring();
    }
    for (WORD i = 0; i < count && in.ok(); ++i)
        dlg.items.push_back(ReadItem(in));
    if (!in.ok())
        return std::nullopt;
    return dlg;
}

} // namespace platform::resources
