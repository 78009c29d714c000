// The size and unit lists and the SDHC box: each stores the value its choice
// stands for in the member the fusing steps read. The lists run no exchange,
// so the size box next to a unit list keeps its text.
#include "ui/VEXODlg.h"
#include "ui/list_item_values.h"

#include <iterator>
#include <span>

namespace {

using ui::kEfuseSizes;
using ui::kSramSizes;
using ui::kUnits;

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

void TakeListChoice(CVEXODlg& dialog, SizeList which) {
    const SizeListBinding& binding = kSizeLists[which];
    dialog.*binding.member = ui::ListItemValue(binding.valueOfItem, (dialog.*binding.list).GetCurSel());
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
