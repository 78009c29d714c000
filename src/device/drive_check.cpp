// The drive check: the drive list's selection becomes a drive letter, the
// letter the number of the physical disk that holds its volume, and that
// disk its size in 512-byte sectors. Anything larger than 4 GiB is taken not
// to be a T-Flash card and refused.
#include "platform/text/wide_format.h"
#include "ui/VEXODlg.h"

#include <climits>
#include <string>

namespace {

constexpr DWORD kMaxCardSectors = 8388608;  // 4 GiB of 512-byte sectors
constexpr int kFirstListLetter = 3;          // list item 0 is drive D (letter index 3, A = 0)
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
// "\\?\e:" is six characters; the buffer holds them and the terminator.
constexpr std::size_t kVolumePathSize = 7;
// "\\.\PhysicalDrive" and every digit of any disk number, with the terminator.
constexpr std::size_t kDiskPathSize = 32;

const char16_t kCaption[] = u"ERROR";

// "%d sectors" for the card sizes the tool knows. A disk of 2^31 sectors or
// more is shown with its true, unsigned count, so that the operator sees why
// it was refused instead of a negative or wrapped number.
CString SectorCountText(ULONGLONG sectors) {
    CString text;
    if (sectors <= static_cast<ULONGLONG>(INT_MAX))
        text.Format(u"%d sectors", static_cast<int>(sectors));
    else
        text.Format(u"%s sectors", platform::text::FromUtf8(std::to_string(sectors)).c_str());
    return text;
}

} // namespace

int CVEXODlg::CheckDrive() {
    if (m_cbDrive.GetCurSel() == CB_ERR) {
        MessageBox(u"Choose SDMMC card drive", kCaption, MB_OK);
        return 0;
    }
    UpdateDriveIndex();
    m_nDiskNumber = GetDiskNumber(static_cast<char>('a' + m_nDriveIndex));
    if (m_nDiskNumber == -1) {
        MessageBox(u"Can't read physical drive name", kCaption, MB_OK);
        return 0;
    }
    if (!GetDiskSectors()) {
        MessageBox(u"Can not get whole sector size", kCaption, MB_OK);
        return 0;
    }
    if (m_nTotalSectors > kMaxCardSectors) {
        MessageBox(u"This drive may not be a T-flash Storage", kCaption, MB_OK);
        return 0;
    }
    return 1;
}

int CVEXODlg::UpdateDriveIndex() {
    m_nDriveIndex = m_cbDrive.GetCurSel() + kFirstListLetter;
    return 1;
}

int CVEXODlg::GetDiskNumber(char letter) {
    char16_t path[kVolumePathSize];
    platform::text::FormatBounded(path, kVolumePathSize, u"\\\\?\\%c:", letter);
    HANDLE volume = CreateFileW(path, GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE)
        return -1;
    VOLUME_DISK_EXTENTS extents{};
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &extents,
                                    sizeof extents, &returned, nullptr);
    CloseHandle(volume);
    if (!ok || extents.NumberOfDiskExtents < 1)
        return -1;
    return static_cast<int>(extents.Extents[0].DiskNumber);
}

int CVEXODlg::GetDiskSectors() {
    char16_t path[kDiskPathSize];
    platform::text::FormatBounded(path, kDiskPathSize, u"\\\\.\\PhysicalDrive%d", m_nDiskNumber);
    HANDLE disk = CreateFileW(path, GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING, 0, nullptr);
    if (disk == INVALID_HANDLE_VALUE)
        return 0;
    DISK_GEOMETRY_EX geometry{};
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &geometry,
                                    sizeof geometry, &returned, nullptr);
    CloseHandle(disk);
    if (!ok)
        return 0;
    const ULONGLONG sectors = static_cast<ULONGLONG>(geometry.DiskSize.QuadPart) >> 9;
    m_strDriveSize = SectorCountText(sectors);
    UpdateData(FALSE);
    // A disk of 2^32 sectors or more does not fit the 32-bit count: it is
    // held at the largest count, which the size check refuses.
    m_nTotalSectors = sectors > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(sectors);
    return 1;
}

void CVEXODlg::OnCbnSelchangeDrive() { CheckDrive(); }
