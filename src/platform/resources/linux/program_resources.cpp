// The resources of the Linux program: the compiled .res file linked in as
// read-only data (program_res.S.in) and parsed once.
#include "platform/resources/resources.h"

extern "C" const std::uint8_t strovane_res_begin[];
extern "C" const std::uint8_t strovane_res_end[];

namespace platform::resources {

const std::vector<Resource>& ProgramResources() {
    static const std::vector<Resource> all = [] {
        const std::span<const std::uint8_t> linked(strovane_res_begin,
                                                   static_cast<std::size_t>(strovane_res_end - strovane_res_begin));
        return ParseRes(linked).value_or(std::vector<Resource>{});
    }();
    return all;
}

} // namespace platform::resources
