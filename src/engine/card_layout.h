// Where the boot images go on the card. Everything but the root file system
// is placed from the card's last sector downward: the eFuse area, the SDHC
// reserve, BL1, the BL2 block and the kernel partition. All quantities are
// unsigned 32-bit sector numbers and counts and wrap modulo 2^32, as the
// card's tooling always computed them; the checks below are what catch a
// layout that wrapped or ran into a neighbouring area.
#pragma once

#include "platform/classlib/afx.h"

class CVEXODlg;

namespace engine {

inline constexpr DWORD kSectorSize = 512;
// The BL2 block always holds this many sectors (0x84000 bytes) of data.
inline constexpr DWORD kBl2BlockSectors = 1056;
inline constexpr DWORD kBl2BlockBytes = kBl2BlockSectors * kSectorSize;
// Sectors between the bootloader partition's end and BL1.
inline constexpr DWORD kBootloaderGapSectors = 32;

// A partition size times its unit, in sectors: the product wraps first, then
// the remainder of the division is dropped.
DWORD PartitionSectors(DWORD size, DWORD unitBytes);

// Sectors that hold an image of `length` bytes: a started sector counts whole.
DWORD SectorCount(DWORD length);

// A sector number as the operator sees it: "%d", cut after its 8th character.
CString SectorText(DWORD sector);

struct CardLayout {
    DWORD totalSectors;        // T
    DWORD efuseSectors;        // E
    DWORD bl1Sectors;          // B
    DWORD sdhcReserve;         // R
    DWORD bootloaderSectors;   // P
    DWORD kernelSectors;       // Kp

    // The layout the dialog's current settings give.
    static CardLayout Of(const CVEXODlg& dlg);

    DWORD EfuseStart() const { return totalSectors - efuseSectors; }
    // S1 = T - E - B - R
    DWORD Bl1Start() const { return totalSectors - efuseSectors - bl1Sectors - sdhcReserve; }
    // S2 = S1 - (P + 32)
    DWORD Bl2Start() const { return Bl1Start() - (bootloaderSectors + kBootloaderGapSectors); }
    // K = S2 - Kp
    DWORD KernelStart() const { return Bl2Start() - kernelSectors; }
    // Last sector of the bootloader range shown: P + S2 + B + 31, the last BL1 sector.
    DWORD BootloaderRangeEnd() const { return bootloaderSectors + Bl2Start() + bl1Sectors + 31; }

    // The capacity check: `count` sectors from `start` end at or before the
    // eFuse area. The sum is taken without wrapping, so a start that fell
    // below sector 0 never passes.
    bool EndsBeforeEfuse(DWORD start, DWORD count) const;

    // BL1 lies on the card, below the SDHC reserve, without having wrapped.
    bool Bl1Fits() const;
    // The whole 1056-sector BL2 block lies between sector 0 and BL1, and a
    // bootloader image of `imageLength` bytes fits in it and ends before the
    // eFuse area.
    bool Bl2BlockFits(ULONGLONG imageLength) const;
    // A kernel image of `imageLength` bytes fits in its partition, which lies
    // between sector 0 and the BL2 block, and ends before the eFuse area.
    bool KernelFits(ULONGLONG imageLength) const;
};

} // namespace engine
