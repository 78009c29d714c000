// Save and Load: the dialog's choices kept in, and brought back from, a
// 2048-byte .dat file (its text in ui/settings_text.h). Both are silent; only
// the drive check that loading runs may show a message. The file is open
// only inside the handler and closed on every way out of it.
#include "ui/VEXODlg.h"
#include "ui/list_item_values.h"
#include "ui/settings_text.h"

#include <iterator>
#include <span>

namespace {

constexpr const char16_t* kDefaultExtension = u"dat";
constexpr const char16_t* kFilter = u"Image (*.dat)|*.dat|All(*.*)|*.*||";

using ui::kEfuseSizes;
using ui::kSramSizes;
using ui::kUnits;

// A list whose selection the file keeps, and the member that hangs on it,
// set from the same values the lists' own handlers store.

struct SelectionField {
    settings::NumberField field;
    CComboBox CVEXODlg::*list;
    DWORD CVEXODlg::*derived;  // null: the drive list, which the drive check reads
    std::span<const DWORD> values;
};

// In the order loading selects them.
constexpr SelectionField kSelections[] = {
    {settings::kDriveSelection, &CVEXODlg::m_cbDrive, nullptr, {}},
    {settings::kSramSizeSelection, &CVEXODlg::m_cbSramSize, &CVEXODlg::m_nBl1Size, kSramSizes},
    {settings::kEfuseSizeSelection, &CVEXODlg::m_cbEfuseSize, &CVEXODlg::m_nEfuseSize, kEfuseSizes},
    {settings::kBootloaderUnitSelection, &CVEXODlg::m_cbBootloaderUnit, &CVEXODlg::m_nBootloaderUnit, kUnits},
    {settings::kKernelUnitSelection, &CVEXODlg::m_cbKernelUnit, &CVEXODlg::m_nKernelUnit, kUnits},
    {settings::kRootfsUnitSelection, &CVEXODlg::m_cbRootfsUnit, &CVEXODlg::m_nRootfsUnit, kUnits},
};

struct SizeField {
    settings::NumberField field;
    DWORD CVEXODlg::*member;
};

constexpr SizeField kSizes[] = {
    {settings::kBootloaderPartSize, &CVEXODlg::m_nBootloaderPartSize},
    {settings::kKernelPartSize, &CVEXODlg::m_nKernelPartSize},
    {settings::kRootfsPartSize, &CVEXODlg::m_nRootfsPartSize},
    {settings::kRootfsStartSector, &CVEXODlg::m_nRootfsStartSector},
};

// In file order.
constexpr CString CVEXODlg::*kPaths[] = {
    &CVEXODlg::m_strBootloaderPath,
    &CVEXODlg::m_strKernelPath,
    &CVEXODlg::m_strCramfsPath,
    &CVEXODlg::m_strRootfsPath,
};
static_assert(std::size(kPaths) == settings::kPathFieldCount);

// Closes the settings file however the handler ends.
class FileCloser {
public:
    explicit FileCloser(HANDLE file) : m_file(file) {}
    ~FileCloser() { CloseHandle(m_file); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    HANDLE m_file;
};

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

} // namespace

void CVEXODlg::OnBnClickedSave() {
    // No overwrite prompt: choosing an existing file replaces it.
    CFileDialog fileDialog(FALSE, kDefaultExtension, nullptr, 0, kFilter, nullptr, 0, TRUE);
    if (fileDialog.DoModal() != IDOK)
        return;
    const CString path = fileDialog.GetPathName();
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, kShareReadWrite, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const FileCloser closer(file);

    // What the members hold now: the controls are not taken in first.
    settings::SavedSettings saved;
    for (const SelectionField& selection : kSelections)
        saved.numbers[selection.field] = (this->*selection.list).GetCurSel();
    for (const SizeField& size : kSizes)
        saved.numbers[size.field] = static_cast<std::int32_t>(this->*size.member);
    for (std::size_t i = 0; i < settings::kPathFieldCount; ++i)
        saved.paths[i] = (this->*kPaths[i]).GetString();

    const settings::FileBytes bytes = settings::FormatSettingsFile(saved);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void CVEXODlg::OnBnClickedLoad() {
    CFileDialog fileDialog(TRUE, kDefaultExtension, nullptr, OFN_FILEMUSTEXIST, kFilter, nullptr, 0, TRUE);
    if (fileDialog.DoModal() != IDOK)
        return;
    const CString path = fileDialog.GetPathName();
    const HANDLE file = CreateFileW(path, GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const FileCloser closer(file);

    // A shorter file leaves the rest zero; of a longer one only the first
    // 2048 bytes count.
    settings::FileBytes bytes{};
    DWORD bytesRead = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &bytesRead, nullptr))
        return;

    // What a field keeps when the file does not give it: the first item of
    // each list, the sizes as they are, "0" for each path.
    settings::LoadedSettings loaded;
    for (const SizeField& size : kSizes)
        loaded.numbers[size.field] = static_cast<std::int32_t>(this->*size.member);
    for (auto& slot : loaded.paths)
        slot[0] = u'0';
    settings::ParseSettingsFile(bytes, loaded);

    for (const SizeField& size : kSizes)
        this->*size.member = static_cast<DWORD>(loaded.numbers[size.field]);

    // Selecting by program raises no selection change, so the members that
    // hang on the lists are set here from the same positions.
    for (const SelectionField& selection : kSelections)
        (this->*selection.list).SetCurSel(loaded.numbers[selection.field]);
    for (std::size_t i = 0; i < settings::kPathFieldCount; ++i)
        this->*kPaths[i] = CString(loaded.paths[i].data());
    for (const SelectionField& selection : kSelections) {
        if (selection.derived != nullptr)
            this->*selection.derived = ui::ListItemValue(selection.values, loaded.numbers[selection.field]);
    }

    // Whatever the drive check finds or reports, loading goes on.
    CheckDrive();
    UpdateData(FALSE);
}
