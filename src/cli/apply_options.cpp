#include "cli/apply_options.h"

#include "platform/text/wide_format.h"
#include "ui/VEXODlg.h"

#include <filesystem>

namespace cli {

namespace {

struct ListChoice {
    std::optional<int> FuseOptions::*item;
    CComboBox CVEXODlg::*list;
    void (CVEXODlg::*onSelchange)();
};

const ListChoice kListChoices[] = {
    {&FuseOptions::sramIndex, &CVEXODlg::m_cbSramSize, &CVEXODlg::OnCbnSelchangeSramSize},
    {&FuseOptions::efuseIndex, &CVEXODlg::m_cbEfuseSize, &CVEXODlg::OnCbnSelchangeEfuseSize},
};

struct PartitionChoice {
    std::optional<PartitionSize> FuseOptions::*size;
    DWORD CVEXODlg::*member;
    CComboBox CVEXODlg::*unitList;
    void (CVEXODlg::*onUnitSelchange)();
};

const PartitionChoice kPartitionChoices[] = {
    {&FuseOptions::bootloaderPart, &CVEXODlg::m_nBootloaderPartSize, &CVEXODlg::m_cbBootloaderUnit,
     &CVEXODlg::OnCbnSelchangeBootloaderUnit},
    {&FuseOptions::kernelPart, &CVEXODlg::m_nKernelPartSize, &CVEXODlg::m_cbKernelUnit,
     &CVEXODlg::OnCbnSelchangeKernelUnit},
    {&FuseOptions::rootfsPart, &CVEXODlg::m_nRootfsPartSize, &CVEXODlg::m_cbRootfsUnit,
     &CVEXODlg::OnCbnSelchangeRootfsUnit},
};

struct PathChoice {
    std::optional<std::string> FuseOptions::*path;
    CString CVEXODlg::*member;
};

const PathChoice kPathChoices[] = {
    {&FuseOptions::bootloader, &CVEXODlg::m_strBootloaderPath},
    {&FuseOptions::kernel, &CVEXODlg::m_strKernelPath},
    {&FuseOptions::rootfs, &CVEXODlg::m_strRootfsPath},
};

// The dialog's Browse buttons always store a full path; a path given
// relative to the current directory becomes one too, so that a settings file
// saved from it loads the same files from anywhere. Empty stays empty: no image.
CString FullPath(const std::string& path) {
    if (path.empty())
        return CString();
    return CString(platform::text::FromUtf8(std::filesystem::absolute(path).string()));
}

} // namespace

int FindDriveItem(const CVEXODlg& dialog, char letter) {
    const char16_t wanted[] = {static_cast<char16_t>(letter), 0};
    for (int item = 0; item < dialog.m_cbDrive.GetCount(); ++item) {
        CString text;
        dialog.m_cbDrive.GetLBText(item, text);
        if (text == wanted)
            return item;
    }
    return -1;
}

void ApplyOptions(CVEXODlg& dialog, const FuseOptions& options) {
    if (const std::optional<char> card = options.ChosenCard())
        dialog.m_cbDrive.SetCurSel(FindDriveItem(dialog, *card));
    for (const ListChoice& choice : kListChoices) {
        if (const std::optional<int>& item = options.*choice.item) {
            (dialog.*choice.list).SetCurSel(*item);
            (dialog.*choice.onSelchange)();
        }
    }
    for (const PartitionChoice& choice : kPartitionChoices) {
        const std::optional<PartitionSize>& size = options.*choice.size;
        if (!size)
            continue;
        dialog.*choice.member = size->count;
        if (size->unitIndex) {
            (dialog.*choice.unitList).SetCurSel(*size->unitIndex);
            (dialog.*choice.onUnitSelchange)();
        }
    }
    if (options.startSector)
        dialog.m_nRootfsStartSector = *options.startSector;
    for (const PathChoice& choice : kPathChoices)
        if (const std::optional<std::string>& path = options.*choice.path)
            dialog.*choice.member = FullPath(*path);
    dialog.UpdateData(FALSE);
}

} // namespace cli
