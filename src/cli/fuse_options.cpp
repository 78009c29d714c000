#include "cli/fuse_options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <string_view>

namespace cli {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Decimal digits only, no sign, no blanks, and at most 4294967295: what a
// sector number or a partition size of the dialog can hold.
std::optional<std::uint32_t> ParseNumber(std::string_view text) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<char> ParseLetter(std::string_view text) {
    if (text.size() != 1)
        return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'D' || letter > 'Z')
        return std::nullopt;
    return letter;
}

// A size written as the dialog's list shows it, with or without the B:
// "8K", "8KB", "8kb" are item "8 KB".
std::optional<int> ParseListSize(std::string_view text, std::initializer_list<std::string_view> items) {
    std::string size = Upper(std::string(text));
    if (size.size() > 2 && size.ends_with("KB"))
        size.pop_back();
    int index = 0;
    for (std::string_view item : items) {
        if (size == item)
            return index;
        ++index;
    }
    return std::nullopt;
}

// "N", "NK", "NKB", "NM", "NMB": the number, and the unit list item when a
// unit is written.
std::optional<PartitionSize> ParsePartitionSize(std::string_view text) {
    struct Unit {
        std::string_view suffix;
        int index;
    };
    static constexpr std::array<Unit, 4> kUnits{{{"KB", 0}, {"K", 0}, {"MB", 1}, {"M", 1}}};
    const std::string upper = Upper(std::string(text));
    std::string_view digits = upper;
    std::optional<int> unitIndex;
    for (const Unit& unit : kUnits) {
        if (digits.size() > unit.suffix.size() && digits.ends_with(unit.suffix)) {
            digits.remove_suffix(unit.suffix.size());
            unitIndex = unit.index;
            break;
        }
    }
    const std::optional<std::uint32_t> count = ParseNumber(digits);
    if (!count)
        return std::nullopt;
    return PartitionSize{*count, unitIndex};
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

using Setter = std::string (*)(FuseOptions&, const std::string& value);

std::string SetPartition(std::optional<PartitionSize>& field, const std::string& value) {
    field = ParsePartitionSize(value);
    return field ? "" : Quoted(value) + " is not a size: write a number, optionally followed by K or M";
}

struct Option {
    std::string_view name;
    std::string_view valueName;  // empty for an option without a value
    std::string_view help;
    bool repeatable;
    Setter set;
};

const Option kOptions[] = {
    {"--drive", "L=PATH",
     "Give drive letter L (D to Z) to the card image file PATH, which must exist. "
     "May be repeated for several letters.",
     true,
     [](FuseOptions& o, const std::string& v) -> std::string {
         const std::size_t equals = v.find('=');
         const std::optional<char> letter = equals == std::string::npos ? std::nullopt : ParseLetter(v.substr(0, equals));
         if (!letter || equals + 1 >= v.size())
             return "expected L=PATH with L a drive letter D to Z, got " + Quoted(v);
         for (const ImageDrive& drive : o.drives)
             if (drive.letter == *letter)
                 return std::string("letter ") + *letter + " is given twice";
         o.drives.push_back({*letter, v.substr(equals + 1)});
         return "";
     }},
    {"--card", "L",
     "Fuse the card behind drive letter L (D to Z). Without it: the letter of the only --drive, "
     "else the drive of the settings file, else none (the run then stops at the drive check).",
     false,
     [](FuseOptions& o, const std::string& v) -> std::string {
         o.card = ParseLetter(v);
         return o.card ? "" : Quoted(v) + " is not a drive letter D to Z";
     }},
    {"--bootloader", "FILE", "Bootloader image (.bin): BL1 and BL2 at the end of the card.", false,
     [](FuseOptions& o, const std::string& v) -> std::string { o.bootloader = v; return ""; }},
    {"--kernel", "FILE", "Kernel image (zImage), below BL2.", false,
     [](FuseOptions& o, const std::string& v) -> std::string { o.kernel = v; return ""; }},
    {"--rootfs", "FILE", "Android root file-system image (.img), from --start-sector on.", false,
     [](FuseOptions& o, const std::string& v) -> std::string { o.rootfs = v; return ""; }},
    {"--start-sector", "N", "First card sector of the root file system (default 0).", false,
     [](FuseOptions& o, const std::string& v) -> std::string {
         o.startSector = ParseNumber(v);
         return o.startSector ? "" : Quoted(v) + " is not a sector number (0 to 4294967295)";
     }},
    {"--sram", "SIZE", "SRAM size, which is the BL1 size: 4K, 8K, 16K, 32K or 64K (default 8K).", false,
     [](FuseOptions& o, const std::string& v) -> std::string {
         o.sramIndex = ParseListSize(v, {"4K", "8K", "16K", "32K", "64K"});
         return o.sramIndex ? "" : Quoted(v) + " is not one of 4K, 8K, 16K, 32K, 64K";
     }},
    {"--efuse", "SIZE", "eFuse area size at the card's end: 1K or 2K (default 1K).", false,
     [](FuseOptions& o, const std::string& v) -> std::string {
         o.efuseIndex = ParseListSize(v, {"1K", "2K"});
         return o.efuseIndex ? "" : Quoted(v) + " is not one of 1K, 2K";
     }},
    {"--bootloader-part", "N[K|M]", "Bootloader partition size (default 512K).", false,
     [](FuseOptions& o, const std::string& v) { return SetPartition(o.bootloaderPart, v); }},
    {"--kernel-part", "N[K|M]", "Kernel partition size (default 4M).", false,
     [](FuseOptions& o, const std::string& v) { return SetPartition(o.kernelPart, v); }},
    {"--rootfs-part", "N[K|M]",
     "Root file-system partition size (default 8M); only checked for zero, as in the dialog.", false,
     [](FuseOptions& o, const std::string& v) { return SetPartition(o.rootfsPart, v); }},
    {"--settings", "FILE.dat",
     "Load a settings file as the dialog's Load does; the other options then override it. What "
     "the drive check of loading reports is printed, but the run's own drive check decides.", false,
     [](FuseOptions& o, const std::string& v) -> std::string {
         o.settings = v;
         return v.empty() ? "needs a file name" : "";
     }},
    {"--save-settings", "FILE.dat",
     "Write the settings of this run, as the dialog's Save does, before fusing starts. A note "
     "follows when the file will not load back the same image paths (an empty path before a "
     "given one, a path with blanks).", false,
     [](FuseOptions& o, const std::string& v) -> std::string {
         o.saveSettings = v;
         return v.empty() ? "needs a file name" : "";
     }},
    {"--help", "", "Print this help and exit.", false,
     [](FuseOptions& o, const std::string&) -> std::string { o.help = true; return ""; }},
};

const Option* FindOption(std::string_view name) {
    for (const Option& option : kOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

} // namespace

std::optional<char> FuseOptions::ChosenCard() const {
    if (card)
        return card;
    if (drives.size() == 1)
        return drives.front().letter;
    return std::nullopt;
}

ParseResult ParseFuseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const std::size_t equals = word.starts_with("--") ? word.find('=') : std::string::npos;
        const std::string name = word.substr(0, equals);
        const Option* option = FindOption(name == "-h" ? "--help" : name);
        if (option == nullptr) {
            result.error = word.starts_with("-") ? "unknown option " + Quoted(name)
                                                 : "unexpected argument " + Quoted(word);
            return result;
        }
        std::string value;
        if (option->valueName.empty()) {
            if (equals != std::string::npos) {
                result.error = std::string(option->name) + " takes no value";
                return result;
            }
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            result.error = std::string(option->name) + " needs a value " + std::string(option->valueName);
            return result;
        }
        if (!option->repeatable && !seen.insert(option->name).second) {
            result.error = std::string(option->name) + " is given more than once";
            return result;
        }
        const std::string error = option->set(result.options, value);
        if (!error.empty()) {
            result.error = std::string(option->name) + ": " + error;
            return result;
        }
    }
    return result;
}

std::string FuseUsage() {
    std::string text =
        "usage: strovane fuse [options]\n"
        "\n"
        "Runs the fusing run of the dialog's START button without a screen: the drive\n"
        "check, then the bootloader, the kernel and the root file system, each only when\n"
        "its image file opens, with the same card layout, checks, read-back verification\n"
        "and messages. Options not given keep the dialog's values after start-up.\n"
        "\n"
        "options:\n";
    for (const Option& option : kOptions) {
        std::string head = "  " + std::string(option.name);
        if (!option.valueName.empty())
            head += " " + std::string(option.valueName);
        text += head + "\n";
        // Wrap the help at 76 columns, indented under the option.
        std::string line = "      ";
        std::string_view rest = option.help;
        while (!rest.empty()) {
            const std::size_t space = rest.find(' ');
            const std::string_view word = rest.substr(0, space);
            if (line.size() > 6 && line.size() + 1 + word.size() > 76) {
                text += line + "\n";
                line = "      ";
            }
            if (line.size() > 6)
                line += ' ';
            line += word;
            rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
        }
        text += line + "\n";
    }
    text +=
        "\n"
        "A value may also follow its option after '=' (--card=E). A partition size\n"
        "without K or M keeps the unit already chosen (the default, or the settings\n"
        "file's). An empty FILE (--kernel '') skips that image.\n"
        "\n"
        "output:\n"
        "  standard output   \"bootloader: FROM to TO on drive L\" and \"kernel: FROM to TO\n"
        "                    on drive L\" when a range is set, and the root file-system\n"
        "                    progress \"rootfs:  N %\" (one line rewritten in place on a\n"
        "                    terminal, one line per chunk otherwise)\n"
        "  standard error    every message of the run as \"ERROR: text\" or \"NOTICE: text\",\n"
        "                    for example \"NOTICE: Fusing image done\"\n"
        "\n"
        "exit status:\n"
        "  0  the run completed (\"Fusing image done\")\n"
        "  1  the run stopped at a failure (an ERROR line says which)\n"
        "  2  bad arguments; nothing was read or written\n"
        "  3  no image file could be opened, so nothing was fused\n"
        "\n"
        "example, a card image file of 3965190144 bytes (7744512 sectors):\n"
        "  truncate -s 3965190144 card.img\n"
        "  strovane fuse --drive E=card.img --bootloader u-boot.bin --kernel zImage\n";
    return text;
}

} // namespace cli
