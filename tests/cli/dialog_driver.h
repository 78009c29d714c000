// The main dialog driven in this process the way an operator drives it:
// picking the drive, Browse, typing into a number box and leaving it,
// choosing list items, Load, Save and START. Message boxes are answered by
// the hook and kept as "CAPTION: text" lines.
#pragma once

#include "ui/VEXODlg.h"

#include <string>
#include <vector>

namespace cli_test {

class DialogDriver {
public:
    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    CVEXODlg& Dialog() { return m_dialog; }

    void PickDrive(char letter);
    void Browse(void (CVEXODlg::*onBrowse)(), const std::string& path);
    void TypeNumber(int id, unsigned long value, void (CVEXODlg::*onKillfocus)());
    void Choose(CComboBox CVEXODlg::*list, int item, void (CVEXODlg::*onSelchange)());
    void Save(const std::string& path);
    void Load(const std::string& path);
    void Start();

    // The message boxes shown so far, and the ranges as the dialog showed
    // them when its completion message came ("bootloader: A to B on drive E").
    const std::vector<std::string>& Boxes() const { return m_boxes; }
    const std::vector<std::string>& RangesAtCompletion() const { return m_ranges; }

private:
    CVEXODlg m_dialog;
    std::vector<std::string> m_boxes;
    std::vector<std::string> m_ranges;
};

} // namespace cli_test
