// The Browse buttons: an Open dialog that accepts only an existing file, whose
// full path goes into the image's member. Showing the members afterwards
// refreshes every box, so text typed elsewhere and not yet taken in is
// replaced by its member's value.
#include "ui/VEXODlg.h"

namespace {

struct BrowseTarget {
    const char16_t* defaultExtension;
    const char16_t* filter;
    CString CVEXODlg::*path;
};

constexpr BrowseTarget kBootloaderImage{u"bin", u"Image (*.bin)|*.bin|All(*.*)|*.*||", &CVEXODlg::m_strBootloaderPath};
// The first filter matches only files named exactly zImage.
constexpr BrowseTarget kKernelImage{u"", u"Image (zImage)|zImage|All(*.*)|*.*||", &CVEXODlg::m_strKernelPath};
constexpr BrowseTarget kCramfsImage{u"", u"cramfs (*.cramfs)|*.cramfs|All (*.*)|*.*|", &CVEXODlg::m_strCramfsPath};
constexpr BrowseTarget kRootfsImage{u"img", u"Image (*.img)|*.img|All(*.*)|*.*||", &CVEXODlg::m_strRootfsPath};

void BrowseForImage(CVEXODlg& dialog, const BrowseTarget& target) {
    CFileDialog fileDialog(TRUE, target.defaultExtension, nullptr, OFN_FILEMUSTEXIST, target.filter, nullptr, 0,
                           TRUE);
    if (fileDialog.DoModal() != IDOK)
        return;
    dialog.*target.path = fileDialog.GetPathName();
    dialog.UpdateData(FALSE);
}

} // namespace

void CVEXODlg::OnBnClickedBrowseBootloader() {
    BrowseForImage(*this, kBootloaderImage);
}

void CVEXODlg::OnBnClickedBrowseKernel() {
    BrowseForImage(*this, kKernelImage);
}

void CVEXODlg::OnBnClickedBrowseCramfs() {
    BrowseForImage(*this, kCramfsImage);
}

void CVEXODlg::OnBnClickedBrowseRootfs() {
    BrowseForImage(*this, kRootfsImage);
}
