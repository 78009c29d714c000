// The root file-system step: the image from the operator's start sector in
// 8 MiB chunks, each written, read back and compared before the next is
// read; between chunks the progress is shown and the dialog handles what
// has piled up meanwhile (repaints, moves; the run holds the operator's
// input off, see fusing_run.cpp).
#include "engine/card_layout.h"
#include "engine/image_file_guard.h"
#include "engine/step_reporting.h"
#include "ui/VEXODlg.h"

#include <cstring>

using namespace engine;

namespace {

constexpr DWORD kChunkBytes = kTransferBufferSize;
constexpr DWORD kChunkSectors = kChunkBytes / kSectorSize;
// The length is counted in a signed 32-bit number: 2 GiB does not fit.
constexpr ULONGLONG kRootfsLengthLimit = 2147483648u;

} // namespace

int CVEXODlg::FuseRootfs() {
    ImageFileGuard closeOnExit(m_fileRootfs);
    UpdateData(TRUE);  // the start sector as typed; a refused box keeps its member
    const DWORD start = m_nRootfsStartSector;
    m_nStartSector = start;

    // An image that cannot be counted is refused before any of it is written.
    const ULONGLONG imageLength = m_fileRootfs.GetLength();
    if (imageLength >= kRootfsLengthLimit)
        return ShowStepError(*this, kCheckPartitionAndFileSize);
    const LONG length = static_cast<LONG>(imageLength);
    const LONG chunks = length / static_cast<LONG>(kChunkBytes) + (length % static_cast<LONG>(kChunkBytes) != 0 ? 1 : 0);

    for (LONG chunk = 0; chunk < chunks; ++chunk) {
        const UINT read = m_fileRootfs.Read(g_WriteBuffer, kChunkBytes);
        if (read == 0)
            return ShowStepError(*this, kCanNotReadFile);
        // The last chunk is written whole: zeros past the image's end.
        std::memset(g_WriteBuffer + read, 0, kChunkBytes - read);

        const DWORD sector = start + kChunkSectors * static_cast<DWORD>(chunk);
        if (!WriteSectors(sector, kChunkSectors, g_WriteBuffer))
            return ShowStepError(*this, kCanNotWriteImageFile);
        if (!ReadSectors(sector, kChunkSectors, g_VerifyBuffer))
            return ShowStepError(*this, kCanNotReadDiskForVerification);
        if (std::memcmp(g_VerifyBuffer, g_WriteBuffer, kChunkBytes) != 0)
            return ShowStepError(*this, u"Android RootFS verfication error found!!");

        m_strProgress.Format(u"  %d %%", static_cast<int>((chunk + 1) * 100 / chunks));
        UpdateData(FALSE);
        UpdateWindow();
        PumpMessages();
    }

    m_fileRootfs.Close();
    return 1;
}
