// The bootloader step: the image's first bytes with their checksum as BL1
// just below the SDHC reserve, then the whole image as the 1056-sector BL2
// block below the bootloader partition; each read back and compared.
#include "engine/card_layout.h"
#include "engine/image_file_guard.h"
#include "engine/step_reporting.h"
#include "ui/VEXODlg.h"

#include <cstring>

using namespace engine;

namespace {

void ShowBootloaderRange(CVEXODlg& dlg, const CardLayout& layout) {
    dlg.m_strBlFrom = SectorText(layout.Bl2Start());
    dlg.m_strBlTo = SectorText(layout.BootloaderRangeEnd());
    dlg.m_strBlDrive = SelectedDriveText(dlg.m_cbDrive);
    dlg.UpdateData(FALSE);
}

} // namespace

int CVEXODlg::FuseBootloader() {
    ImageFileGuard closeOnExit(m_fileBootloader);
    if (!CheckPartitionSizes())
        return 0;

    const CardLayout layout = CardLayout::Of(*this);
    m_nStartSector = layout.Bl1Start();

    // BL1: the image's first bytes; where a short image ends, zeros, so that
    // nothing of an earlier transfer reaches the card or the checksum.
    const UINT bl1Read = m_fileBootloader.Read(g_WriteBuffer, m_nBl1Size);
    if (bl1Read == 0)
        return ShowStepError(*this, kCanNotReadFile);
    std::memset(g_WriteBuffer + bl1Read, 0, m_nBl1Size - bl1Read);
    MakeBl1Checksum(g_WriteBuffer);

    // BL1 is only written when BL2 can follow it whole and in its place: the
    // block below BL1 and on the card, the image inside the block. A card
    // left with a new BL1 and no matching BL2 would not boot.
    const ULONGLONG imageLength = m_fileBootloader.GetLength();
    if (!layout.Bl2BlockFits(imageLength)) {
        ShowBootloaderRange(*this, layout);
        return ShowStepError(*this, kCheckPartitionAndFileSize);
    }

    const DWORD bl1Sectors = m_nBl1Size / kSectorSize;
    if (!WriteSectors(m_nStartSector, bl1Sectors, g_WriteBuffer))
        return ShowStepError(*this, kCanNotWriteImageFile);
    if (!ReadSectors(m_nStartSector, bl1Sectors, g_VerifyBuffer))
        return ShowStepError(*this, kCanNotReadDiskForVerification);
    if (std::memcmp(g_VerifyBuffer, g_WriteBuffer, m_nBl1Size) != 0)
        return ShowStepError(*this, u"BL1 verfication error found!!");

    // BL2: the whole image, then zeros to the end of the block.
    m_fileBootloader.SeekToBegin();
    m_nStartSector = layout.Bl2Start();
    std::memset(g_WriteBuffer, 0, kBl2BlockBytes);
    const DWORD length = static_cast<DWORD>(imageLength);
    if (m_fileBootloader.Read(g_WriteBuffer, length) == 0)
        return ShowStepError(*this, kCanNotReadFile);
    ShowBootloaderRange(*this, layout);

    const DWORD imageSectors = SectorCount(length);
    if (!WriteSectors(m_nStartSector, kBl2BlockSectors, g_WriteBuffer))
        return ShowStepError(*this, kCanNotWriteImageFile);
    if (!ReadSectors(m_nStartSector, imageSectors, g_VerifyBuffer))
        return ShowStepError(*this, kCanNotReadDiskForVerification);
    if (std::memcmp(g_VerifyBuffer, g_WriteBuffer, length) != 0)
        return ShowStepError(*this, u"BL2 verfication error found!!");

    m_fileBootloader.Close();
    UpdateData(FALSE);
    UpdateWindow();
    return 1;
}

void CVEXODlg::MakeBl1Checksum(BYTE* buffer) {
    // Additive sum of every BL1 byte but the last four, which receive it,
    // least significant byte first.
    DWORD sum = 0;
    DWORD i = 0;
    for (; i < m_nBl1Size - 4; ++i)
        sum += buffer[i];
    for (DWORD byte = 0; byte < 4; ++byte)
        buffer[i + byte] = static_cast<BYTE>(sum >> (8 * byte));
}
