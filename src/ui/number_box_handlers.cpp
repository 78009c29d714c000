// Leaving one of the four number boxes takes every control into its member,
// not only that box: typed paths reach their members this way too. A box that
// holds no number is refused by the exchange, which shows the message and
// puts the focus back into the first refused box.
#include "ui/VEXODlg.h"

void CVEXODlg::OnEnKillfocusRootfsStartSector() {
    UpdateData(TRUE);
}

void CVEXODlg::OnEnKillfocusBootloaderPartSize() {
    UpdateData(TRUE);
}

void CVEXODlg::OnEnKillfocusKernelPartSize() {
    UpdateData(TRUE);
}

void CVEXODlg::OnEnKillfocusRootfsPartSize() {
    UpdateData(TRUE);
}
