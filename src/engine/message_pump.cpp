// Lets the dialog handle everything that has reached the thread while a long
// step worked: repaints, moves and whatever else is waiting.
#include "ui/VEXODlg.h"

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
