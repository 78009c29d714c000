// The size and unit lists and the SDHC box: each stores the value its choice
// stands for in the member the fusing steps read. The lists run no exchange,
// so the size box next to a unit list keeps its text.
#include "ui/VEXODlg.h"

#include <iterator>
#include <span>

namespace {

constexpr DWORD kSramSizes[] = {4096, 8192, 16384, 32768, 65536};  // "4 KB" ... "64 KB": the BL1 size
constexpr DWORD kEfuseSizes[] = {1024, 2048};                       // "1 KB", "2 KB"
constexpr DWORD kUnits[] = {1024, 1048576};                         // "KB", "MB": bytes per unit

// Rows of kSizeLists, in this order.
enum SizeList { kSramSizeList, kEfuseSizeList, kBootloaderUnitList, kKernelUnitList, kRootfsUnitList, kSizeListCount };

struct SizeListBinding {
    CComboBox CVEXODlg::*list;
    DWORD CVEXODlg::*member;
    std::span<const DWORD> valueOfItem;
};

constexpr SizeListBinding kSizeLists[] = {
    {&CVEXODlg::m_cbSramSize, &CVEXODlg::m_nBl1Size, kSramSizes},
    {&CVEXODlg::m_cbEfuseSize, &CVEXODlg::m_nEfuseSize, kEfuseSizes},
    {&CVEXODlg::m_cbBootloaderUnit, &CVEXODlg::m_nBootloaderUnit, kUnits},
    {&CVEXODlg::m_cbKernelUnit, &CVEXODlg::m_nKernelUnit, kUnits},
    {&CVEXODlg::m_cbRootfsUnit, &CVEXODlg::m_nRootfsUnit, kUnits},
};
static_assert(std::size(kSizeLists) == kSizeListCount);

// An item outside the table, or no selection at all, stores 0, which the
// fusing steps then meet as an unusable size.
void TakeListChoice(CVEXODlg& dialog, SizeList which) {
    const SizeListBinding& binding = kSizeLists[which];
    const int item = (dialog.*binding.list).GetCurSel();
    const bool known = item >= 0 && static_cast<std::size_t>(item) < binding.valueOfItem.size();
    dialog.*binding.member = known ? binding.valueOfItem[static_cast<std::size_t>(item)] : 0;
}

constexpr DWORD kSdhcReserveSectors = 1024;

} // namespace

void CVEXODlg::OnCbnSelchangeSramSize() {
    TakeListChoice(*this, kSramSizeList);
}

void CVEXODlg::OnCbnSelchangeEfuseSize() {
    TakeListChoice(*this, kEfuseSizeList);
}

void CVEXODlg::OnCbnSelchangeBootloaderUnit() {
    TakeListChoice(*this, kBootloaderUnitList);
}

void CVEXODlg::OnCbnSelchangeKernelUnit() {
    TakeListChoice(*this, kKernelUnitList);
}

void CVEXODlg::OnCbnSelchangeRootfsUnit() {
    TakeListChoice(*this, kRootfsUnitList);
}

void CVEXODlg::OnBnClickedSdhc() {
    m_nSdhcReserve = m_chkSdhc.GetCheck() == 1 ? kSdhcReserveSectors : 0;
}
