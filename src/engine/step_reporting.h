// What the image steps tell the operator: their shared failure texts, the
// error box they show, and the drive letter they report a range on.
#pragma once

#include "platform/classlib/afx.h"

namespace engine {

inline constexpr const char16_t* kCanNotReadFile = u"Can not read file";
inline constexpr const char16_t* kCanNotWriteImageFile = u"Can not write image file";
inline constexpr const char16_t* kCanNotReadDiskForVerification = u"Can not read disk for verification";
inline constexpr const char16_t* kCheckPartitionAndFileSize = u"Check the partition and file size";

// Shows one failure box owned by the dialog and gives the step's result, 0.
inline int ShowStepError(CWnd& dialog, const char16_t* text) {
    dialog.MessageBox(text, u"ERROR", MB_OK);
    return 0;
}

// The letter selected in the drive list, "D" to "Z"; empty without a selection.
inline CString SelectedDriveText(const CComboBox& drives) {
    CString text;
    const int selected = drives.GetCurSel();
    if (selected != CB_ERR)
        drives.GetLBText(selected, text);
    return text;
}

} // namespace engine
