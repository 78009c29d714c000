// Runs of whole sectors to and from the card's physical disk. Each call
// opens the disk, does one positioned transfer and closes it again. Reads
// bypass the system's cache so that a verification reads the card itself.
#include "engine/card_layout.h"
#include "engine/diagnostic_output.h"
#include "ui/VEXODlg.h"

using engine::kSectorSize;

namespace {

CString PhysicalDrivePath(int diskNumber) {
    CString path;
    path.Format(u"\\\\.\\PhysicalDrive%d", diskNumber);
    return path;
}

// The sector's byte offset on the disk, 64 bits wide.
LARGE_INTEGER ByteOffset(DWORD sector) {
    LARGE_INTEGER offset;
    offset.LowPart = sector << 9;
    offset.HighPart = static_cast<LONG>(sector >> 23);
    return offset;
}

void PrintSystemError(DWORD error) {
    CString text;
    text.Format(u"Error = %d,", static_cast<int>(error));
    engine::PrintDiagnostic(text);
}

} // namespace

int CVEXODlg::ReadSectors(DWORD sector, DWORD count, BYTE* buffer) {
    const HANDLE disk = CreateFileW(PhysicalDrivePath(m_nDiskNumber), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
    if (disk == INVALID_HANDLE_VALUE)
        return 0;

    const DWORD bytes = count * kSectorSize;
    DWORD bytesRead = 0;
    const bool done = SetFilePointerEx(disk, ByteOffset(sector), nullptr, FILE_BEGIN)
        && ReadFile(disk, buffer, bytes, &bytesRead, nullptr);
    if (!done)
        PrintSystemError(GetLastError());
    CloseHandle(disk);
    // A read that delivered less leaves the rest of the buffer holding an
    // earlier read, which could pass the comparison with what was written
    // although that part of the card was never read.
    return done && bytesRead == bytes ? 1 : 0;
}

int CVEXODlg::WriteSectors(DWORD sector, DWORD count, const BYTE* buffer) {
    // Disk 0 holds the running system and is never written.
    if (m_nDiskNumber == 0)
        return 0;

    const HANDLE disk = CreateFileW(PhysicalDrivePath(m_nDiskNumber), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (disk == INVALID_HANDLE_VALUE)
        return 0;

    const DWORD bytes = count * kSectorSize;
    DWORD bytesWritten = 0;
    const bool done = SetFilePointerEx(disk, ByteOffset(sector), nullptr, FILE_BEGIN)
        && WriteFile(disk, buffer, bytes, &bytesWritten, nullptr);
    CloseHandle(disk);
    if (!done)
        return 0;
    if (bytesWritten == bytes)
        return 1;

    CString copied;
    copied.Format(u"%d sectors", static_cast<int>(bytesWritten / kSectorSize));
    MessageBox(CString(u"Only copy ") + copied, u"ERROR", MB_OK);
    return 0;
}
