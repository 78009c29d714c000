// The kernel step: the kernel image at the start of the kernel partition,
// just below the BL2 block; its range shown, then read back and compared.
#include "engine/card_layout.h"
#include "engine/image_file_guard.h"
#include "engine/step_reporting.h"
#include "ui/VEXODlg.h"

#include <algorithm>
#include <cstring>

using namespace engine;

int CVEXODlg::FuseKernel() {
    ImageFileGuard closeOnExit(m_fileKernel);
    if (!CheckPartitionSizes())
        return 0;

    // Computed afresh from the card size: the bootloader step may not have run.
    const CardLayout layout = CardLayout::Of(*this);
    const DWORD start = layout.KernelStart();
    m_nStartSector = start;

    // Never more than the buffer holds; a longer image is refused below.
    const ULONGLONG imageLength = m_fileKernel.GetLength();
    const DWORD length = static_cast<DWORD>(imageLength);
    const UINT read = m_fileKernel.Read(g_WriteBuffer, static_cast<UINT>(std::min<ULONGLONG>(imageLength, kTransferBufferSize)));
    if (read == 0)
        return ShowStepError(*this, kCanNotReadFile);

    const DWORD sectors = SectorCount(length);
    m_strKernelFrom = SectorText(start);
    m_strKernelTo = SectorText(start + sectors - 1);
    m_strKernelDrive = SelectedDriveText(m_cbDrive);
    UpdateData(FALSE);

    // The kernel must be whole in the buffer and stay inside its partition,
    // off the BL2 block and BL1 written just before.
    if (imageLength > kTransferBufferSize || !layout.KernelFits(imageLength))
        return ShowStepError(*this, kCheckPartitionAndFileSize);

    // The last sector's bytes past the image are zeros, not an earlier transfer's.
    std::memset(g_WriteBuffer + read, 0, sectors * kSectorSize - read);
    if (!WriteSectors(start, sectors, g_WriteBuffer))
        return ShowStepError(*this, kCanNotWriteImageFile);
    m_fileKernel.SeekToBegin();
    if (!ReadSectors(start, sectors, g_VerifyBuffer))
        return ShowStepError(*this, kCanNotReadDiskForVerification);
    if (std::memcmp(g_VerifyBuffer, g_WriteBuffer, length) != 0)
        return ShowStepError(*this, u"Kernel verfication error found!!");

    m_fileKernel.Close();
    UpdateData(FALSE);
    UpdateWindow();
    return 1;
}
