#include "device/drive_list_tips.h"

#include "platform/classlib/combo_item_tooltips.h"
#include "platform/storage/drives.h"
#include "platform/text/wide_format.h"
#include "resource.h"

#include <chrono>

namespace {

// The list asks for every item's tip each time it opens; the machine is read
// again at most this often, so that a card plugged in since is named.
constexpr std::chrono::seconds kRefreshInterval{1};

std::u16string DriveTip(const std::u16string& item) {
    static std::chrono::steady_clock::time_point lastRefresh;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastRefresh >= kRefreshInterval) {
        platform::storage::RefreshDrives();
        lastRefresh = now;
    }
    if (item.size() != 1 || item[0] > 0x7F)
        return {};
    return platform::text::FromUtf8(platform::storage::DescribeDrive(static_cast<char>(item[0])));
}

} // namespace

void InstallDriveListTips() {
    platform::classlib::SetComboItemToolTipProvider([](int controlId, const std::u16string& item) {
        return controlId == IDC_DRIVE ? DriveTip(item) : std::u16string();
    });
}
