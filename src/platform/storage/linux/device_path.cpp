#include "platform/storage/linux/device_path.h"

#include <climits>

namespace platform::storage {
namespace {

constexpr std::u16string_view kPrefixes[] = {u"\\\\?\\", u"\\\\.\\"};
constexpr std::u16string_view kPhysicalDrive = u"physicaldrive";

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Lower(text[i]) != lower[i])
            return false;
    return true;
}

// All digits, at least one, within an int, without leading zeros: the
// names are formatted with "%d", and no other spelling names a disk.
bool ParseNumber(std::u16string_view digits, int& number) {
    if (digits.empty() || (digits.size() > 1 && digits[0] == u'0'))
        return false;
    long long value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > INT_MAX)
            return false;
    }
    number = static_cast<int>(value);
    return true;
}

} // namespace

DevicePath ParseDevicePath(std::u16string_view path) {
    DevicePath parsed;
    // A name that begins with two backslashes is a device; one not known
    // here (or a network share) names nothing on this machine.
    if (path.substr(0, 2) != u"\\\\")
        return parsed;
    parsed.kind = DevicePath::Kind::unknownDevice;
    std::u16string_view rest;
    for (std::u16string_view prefix : kPrefixes)
        if (path.substr(0, prefix.size()) == prefix)
            rest = path.substr(prefix.size());
    const char16_t letter = rest.empty() ? u'\0' : Lower(rest[0]);
    if (rest.size() == 2 && rest[1] == u':' && letter >= u'a' && letter <= u'z') {
        parsed.kind = DevicePath::Kind::volume;
        parsed.letter = static_cast<char>(letter - u'a' + 'A');
    } else if (EqualsIgnoringCase(rest.substr(0, kPhysicalDrive.size()), kPhysicalDrive) &&
               ParseNumber(rest.substr(kPhysicalDrive.size()), parsed.number)) {
        parsed.kind = DevicePath::Kind::physicalDrive;
    }
    return parsed;
}

} // namespace platform::storage
