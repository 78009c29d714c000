// Rebuilding an .ico file from an icon group. The group (RT_GROUP_ICON) is
// the .ico directory with each image's file offset replaced by the id of an
// RT_ICON resource holding that image:
//   WORD 0, WORD 1 (icon), WORD count, then per image 14 bytes:
//   BYTE width, height, colours, reserved, WORD planes, bit count,
//   DWORD bytes, WORD image id.
// The .ico file has the same directory with 16-byte entries whose last field
// is the image's DWORD offset in the file, followed by the images.
//
// Each image is a BITMAPINFOHEADER (height doubled), a palette for 8 bits
// or fewer, the colour rows and a 1-bit mask (1 = transparent), rows
// bottom-up and padded to 4 bytes. The system honours the mask at every
// depth, but the toolkit's icon reader ignores it for 24-bit images and would
// paint their transparent corners black; those images are therefore handed
// over as 32-bit images whose alpha comes from the mask.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"

namespace platform::resources {
namespace {

constexpr std::size_t kDirSize = 6;
constexpr std::size_t kFileEntrySize = 16;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::size_t kInfoHeaderSize = 40;

std::size_t RowBytes(std::size_t width, std::size_t bits) { return (width * bits + 31) / 32 * 4; }

// A 24-bit image as a 32-bit one with the mask as alpha (and kept as mask);
// nothing when its header or size do not add up.
std::optional<std::vector<std::uint8_t>> WithAlphaFromMask(std::span<const std::uint8_t> image) {
    ByteReader in(image);
    const DWORD headerSize = in.u32();
    const std::int32_t width = static_cast<std::int32_t>(in.u32());
    const std::int32_t doubledHeight = static_cast<std::int32_t>(in.u32());
    if (!in.ok() || headerSize != kInfoHeaderSize || width <= 0 || width > 256 || doubledHeight <= 0 ||
        doubledHeight % 2 != 0 || doubledHeight / 2 > 256)
        return std::nullopt;
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(doubledHeight / 2);
    const std::size_t colourRow = RowBytes(w, 24), maskRow = RowBytes(w, 1);
    if (image.size() < kInfoHeaderSize + h * (colourRow + maskRow))
        return std::nullopt;
    const auto colours = image.subspan(kInfoHeaderSize, h * colourRow);
    const auto mask = image.subspan(kInfoHeaderSize + h * colourRow, h * maskRow);

    std::vector<std::uint8_t> out(image.begin(), image.begin() + kInfoHeaderSize);
    out[14] = 32;  // biBitCount
    out[15] = 0;
    const std::size_t pixelBytes = h * w * 4 + mask.size();
    for (int i = 0; i < 4; ++i)  // biSizeImage
        out[20 + i] = static_cast<std::uint8_t>(pixelBytes >> (8 * i));
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const bool transparent = mask[y * maskRow + x / 8] & (0x80 >> (x % 8));
            const std::uint8_t* bgr = &colours[y * colourRow + x * 3];
            if (transparent)
                out.insert(out.end(), {0, 0, 0, 0});
            else
                out.insert(out.end(), {bgr[0], bgr[1], bgr[2], 0xFF});
        }
    }
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

WORD BitsPerPixel(std::span<const std::uint8_t> image) {
    return image.size() >= 16 ? static_cast<WORD>(image[14] | (image[15] << 8)) : 0;
}

struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    std::vector<std::uint8_t> image;
};

} // namespace

std::optional<std::vector<std::uint8_t>> BuildIconFileFrom(const std::vector<Resource>& all, WORD groupId) {
    const auto group = FindIn(all, ResId::Of(RT_GROUP_ICON), ResId::Of(groupId));
    if (!group)
        return std::nullopt;
    ByteReader in(*group);
    const WORD reserved = in.u16();
    const WORD type = in.u16();
    const WORD count = in.u16();
    if (!in.ok() || reserved != 0 || type != 1 || count == 0)
        return std::nullopt;

    std::vector<GroupEntry> entries;
    for (WORD i = 0; i < count; ++i) {
        GroupEntry e{};
        e.width = in.u8();
        e.height = in.u8();
        e.colours = in.u8();
        e.reserved = in.u8();
        e.planes = in.u16();
        e.bitCount = in.u16();
        in.u32();  // the group's byte count; the image's own size is used instead
        const WORD imageId = in.u16();
        if (!in.ok())
            return std::nullopt;
        const auto image = FindIn(all, ResId::Of(RT_ICON), ResId::Of(imageId));
        if (!image || image->empty())
            return std::nullopt;
        if (BitsPerPixel(*image) == 24) {
            auto converted = WithAlphaFromMask(*image);
            if (!converted)
                return std::nullopt;
            e.image = std::move(*converted);
            e.bitCount = 32;
        } else {
            e.image.assign(image->begin(), image->end());
        }
        entries.push_back(e);
    }

    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, count);
    std::size_t offset = kDirSize + kFileEntrySize * entries.size();
    for (const GroupEntry& e : entries) {
        file.insert(file.end(), {e.width, e.height, e.colours, e.reserved});
        Put16(file, e.planes);
        Put16(file, e.bitCount);
        Put32(file, static_cast<std::uint32_t>(e.image.size()));
        Put32(file, static_cast<std::uint32_t>(offset));
        offset += e.image.size();
    }
    for (const GroupEntry& e : entries)
        file.insert(file.end(), e.image.begin(), e.image.end());
    return file;
}

std::optional<std::vector<std::uint8_t>> BuildIconFile(WORD groupId) {
    return BuildIconFileFrom(ProgramResources(), groupId);
}

} // namespace platform::resources
