// System metrics the tool asks for: the large icon's size.
#include "platform/uiservices/ui_services.h"

#include <array>

namespace {
struct Metric {
    int index;
    int value;
};
constexpr std::array kMetrics = {Metric{SM_CXICON, 32}, Metric{SM_CYICON, 32}};
} // namespace

int GetSystemMetrics(int index) {
    for (const Metric& metric : kMetrics)
        if (metric.index == index)
            return metric.value;
    return 0;
}
