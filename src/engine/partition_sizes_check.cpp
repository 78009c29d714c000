// The entry test of the bootloader and kernel steps: every partition size
// the operator typed must be nonzero.
#include "engine/step_reporting.h"
#include "ui/VEXODlg.h"

namespace {

struct RequiredSize {
    DWORD CVEXODlg::*size;
    const char16_t* message;
};

// In the order the operator is told about them.
constexpr RequiredSize kRequiredSizes[] = {
    {&CVEXODlg::m_nBootloaderPartSize, u"Insert Bootloader partition size"},
    {&CVEXODlg::m_nKernelPartSize, u"Insert Kernel partition size"},
    {&CVEXODlg::m_nRootfsPartSize, u"Insert Rootfs partition size"},
};

} // namespace

int CVEXODlg::CheckPartitionSizes() {
    // A box the exchange refuses keeps its member's value; the test runs on
    // whatever the members hold afterwards.
    UpdateData(TRUE);
    for (const RequiredSize& required : kRequiredSizes) {
        if (this->*required.size == 0)
            return engine::ShowStepError(*this, required.message);
    }
    return 1;
}
