#include "engine/card_layout.h"

#include "platform/text/wide_format.h"
#include "ui/VEXODlg.h"

namespace engine {

DWORD PartitionSectors(DWORD size, DWORD unitBytes) {
    return (size * unitBytes) / kSectorSize;
}

DWORD SectorCount(DWORD length) {
    return length / kSectorSize + (length % kSectorSize != 0 ? 1 : 0);
}

CString SectorText(DWORD sector) {
    // Eight characters and the terminator: a longer number is cut.
    char16_t text[9];
    platform::text::FormatBounded(text, sizeof text / sizeof text[0], u"%d", static_cast<int>(sector));
    return CString(text);
}

CardLayout CardLayout::Of(const CVEXODlg& dlg) {
    return CardLayout{
        dlg.m_nTotalSectors,
        dlg.m_nEfuseSize / kSectorSize,
        dlg.m_nBl1Size / kSectorSize,
        dlg.m_nSdhcReserve,
        PartitionSectors(dlg.m_nBootloaderPartSize, dlg.m_nBootloaderUnit),
        PartitionSectors(dlg.m_nKernelPartSize, dlg.m_nKernelUnit),
    };
}

bool CardLayout::EndsBeforeEfuse(DWORD start, DWORD count) const {
    return ULONGLONG{start} + count <= EfuseStart();
}

bool CardLayout::Bl1Fits() const {
    return ULONGLONG{efuseSectors} + bl1Sectors + sdhcReserve <= totalSectors;
}

namespace {
// Sectors of an image of `length` bytes, for lengths beyond 32 bits too.
ULONGLONG SectorCount64(ULONGLONG length) {
    return length / kSectorSize + (length % kSectorSize != 0 ? 1 : 0);
}
} // namespace

bool CardLayout::Bl2BlockFits(ULONGLONG imageLength) const {
    const DWORD gap = bootloaderSectors + kBootloaderGapSectors;  // S1 - S2
    return Bl1Fits()
        && gap >= kBl2BlockSectors       // the block ends at or below BL1's first sector
        && Bl1Start() >= gap              // S2 did not fall below sector 0
        && imageLength <= kBl2BlockBytes  // the image is all inside the block
        && EndsBeforeEfuse(Bl2Start(), SectorCount(static_cast<DWORD>(imageLength)));
}

bool CardLayout::KernelFits(ULONGLONG imageLength) const {
    const ULONGLONG sectors = SectorCount64(imageLength);
    return Bl1Fits()
        && Bl1Start() >= bootloaderSectors + kBootloaderGapSectors  // S2 did not fall below sector 0
        && Bl2Start() >= kernelSectors                                 // nor did K
        && sectors <= kernelSectors                                    // the kernel stays in its partition
        && EndsBeforeEfuse(KernelStart(), static_cast<DWORD>(sectors));
}

} // namespace engine
