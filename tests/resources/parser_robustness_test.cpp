// Every reader of resource bytes must refuse truncated or inconsistent data
// instead of reading past it: cut-off copies of the real compiled resources
// and hand-made records with wrong sizes.
#include "platform/resources/resources.h"
#include "res_builder.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>

extern "C" const std::uint8_t strovane_res_begin[];
extern "C" const std::uint8_t strovane_res_end[];

namespace res = platform::resources;
using test_res::Bytes;
using test_res::ResFile;

namespace {

Bytes ProgramResFile() { return Bytes(strovane_res_begin, strovane_res_end); }

Bytes Copy(std::span<const std::uint8_t> s) { return Bytes(s.begin(), s.end()); }

Bytes Resource(WORD type, WORD name) {
    const auto found = res::Find(res::ResId::Of(type), res::ResId::Of(name));
    EXPECT_TRUE(found.has_value()) << "type " << type << " name " << name;
    return found ? Copy(*found) : Bytes{};
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Set16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

} // namespace

TEST(ResFileRobustness, EveryCutInsideAnEntryIsRefused) {
    const Bytes full = ProgramResFile();
    const auto all = res::ParseRes(full);
    ASSERT_TRUE(all.has_value());
    // Where each entry's data ends; a cut from there to the next multiple of 4
    // leaves a well-formed file of the entries before it.
    std::vector<std::size_t> dataEnds = {32};  // the empty marker entry
    for (const auto& r : *all)
        dataEnds.push_back(static_cast<std::size_t>(r.data.data() + r.data.size() - full.data()));
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        std::size_t complete = 0;
        bool boundary = cut == 0;
        for (std::size_t end : dataEnds) {
            if (end <= cut)
                ++complete;
            boundary = boundary || (cut >= end && cut <= (end + 3) / 4 * 4);
        }
        const auto parsed = res::ParseRes(std::span(full.data(), cut));
        ASSERT_EQ(parsed.has_value(), boundary) << "cut at " << cut;
        if (parsed) {
            ASSERT_EQ(parsed->size(), complete == 0 ? 0 : complete - 1) << "cut at " << cut;
        }
    }
}

TEST(ResFileRobustness, InconsistentHeadersAreRefused) {
    ResFile good;
    good.Add(10, 1, res::LANG_EN_US, {1, 2, 3, 4});
    // The second entry (after the 32-byte marker) starts at 32.
    constexpr std::size_t second = 32;
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"data size past the end", [](Bytes& b) { Set32(b, second, 5); }},
        {"data size of 4 GiB", [](Bytes& b) { Set32(b, second, 0xFFFFFFFF); }},
        {"header size of 4 GiB", [](Bytes& b) { Set32(b, second + 4, 0xFFFFFFFF); }},
        {"header shorter than its fields", [](Bytes& b) { Set32(b, second + 4, 28); }},
        {"header size not a multiple of 4", [](Bytes& b) { Set32(b, second + 4, 33); }},
        {"header larger than the file", [](Bytes& b) { Set32(b, second + 4, 64); }},
        {"a string name running off the end",
         [](Bytes& b) {
             b.resize(second + 8);
             for (int i = 0; i < 5; ++i)
                 b.push_back('A'), b.push_back(0);
         }},
        {"fewer bytes than a header", [](Bytes& b) { b.resize(second + 7); }},
    };
    ASSERT_TRUE(res::ParseRes(good.bytes).has_value());
    for (const Case& c : cases) {
        Bytes b = good.bytes;
        c.spoil(b);
        EXPECT_FALSE(res::ParseRes(b).has_value()) << c.what;
    }
}

TEST(DialogRobustness, EveryTruncatedTemplateIsRefused) {
    for (WORD id : {IDD_VEXO_DIALOG, IDD_ABOUTBOX}) {
        const Bytes full = Resource(res::RT_DIALOG, id);
        ASSERT_TRUE(res::ParseDialog(full).has_value());
        for (std::size_t cut = 0; cut < full.size(); ++cut)
            ASSERT_FALSE(res::ParseDialog(std::span(full.data(), cut)).has_value())
                << "template " << id << " cut at " << cut;
    }
}

TEST(DialogRobustness, WrongHeaderOrCountsAreRefused) {
    const Bytes full = Resource(res::RT_DIALOG, IDD_ABOUTBOX);
    // Header: version 0, signature 2, help 4, exStyle 8, style 12, count 16.
    // The first item starts after the header's strings; its creation-data
    // count is the last word before the second item.
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"version 0", [](Bytes& b) { Set16(b, 0, 0); }},
        {"not the extended form", [](Bytes& b) { Set16(b, 2, 0); }},
        {"one control more than stored", [](Bytes& b) { Set16(b, 16, 4); }},
        {"65535 controls", [](Bytes& b) { Set16(b, 16, 0xFFFF); }},
        {"creation data past the end", [](Bytes& b) { Set16(b, b.size() - 2, 0x100); }},
    };
    for (const Case& c : cases) {
        Bytes b = full;
        c.spoil(b);
        EXPECT_FALSE(res::ParseDialog(b).has_value()) << c.what;
    }
    Bytes fewer = full;
    Set16(fewer, 16, 1);
    const auto one = res::ParseDialog(fewer);
    ASSERT_TRUE(one.has_value()) << "a count below what is stored reads only that many";
    EXPECT_EQ(one->items.size(), 1u);
}

TEST(DlgInitRobustness, TruncatedOrOversizedRecordsAreRefused) {
    const Bytes full = Resource(res::RT_DLGINIT, IDD_VEXO_DIALOG);
    ASSERT_TRUE(res::ParseDlgInit(full).has_value());
    for (std::size_t cut = 0; cut < full.size(); ++cut)
        ASSERT_FALSE(res::ParseDlgInit(std::span(full.data(), cut)).has_value()) << "cut at " << cut;

    struct Case {
        const char* what;
        Bytes bytes;
        std::optional<std::vector<std::string>> want;
    };
    const Case cases[] = {
        {"only the end mark", {0, 0}, std::vector<std::string>{}},
        {"text without its zero keeps its bytes",
         {0xF3, 0x03, 0x03, 0x04, 2, 0, 0, 0, 'A', 'B', 0, 0}, std::vector<std::string>{"AB"}},
        {"text ends at its first zero",
         {0xF3, 0x03, 0x03, 0x04, 4, 0, 0, 0, 'A', 0, 'B', 0, 0, 0}, std::vector<std::string>{"A"}},
        {"length past the end", {0xF3, 0x03, 0x03, 0x04, 9, 0, 0, 0, 'A', 0, 0, 0}, std::nullopt},
        {"length of 4 GiB", {0xF3, 0x03, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 'A', 0, 0, 0}, std::nullopt},
        {"no end mark", {0xF3, 0x03, 0x03, 0x04, 2, 0, 0, 0, 'A', 0}, std::nullopt},
        {"half an end mark", {0xF3, 0x03, 0x03, 0x04, 2, 0, 0, 0, 'A', 0, 0}, std::nullopt},
        {"nothing at all", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto items = res::ParseDlgInit(c.bytes);
        ASSERT_EQ(items.has_value(), c.want.has_value()) << c.what;
        if (!items)
            continue;
        std::vector<std::string> texts;
        for (const auto& item : *items)
            texts.push_back(item.text);
        EXPECT_EQ(texts, *c.want) << c.what;
    }
}

TEST(StringTableRobustness, ShortOrOverlongBlocksGiveNothing) {
    // Block 7 holds ids 96..111; the about text is id 101 (index 5).
    Bytes good;
    for (int i = 0; i < 5; ++i)
        test_res::Put16(good, 0);
    test_res::Put16(good, 2);
    test_res::Put16(good, u'O');
    test_res::Put16(good, u'K');
    for (int i = 6; i < 16; ++i)
        test_res::Put16(good, 0);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
        bool found;
    };
    const Case cases[] = {
        {"whole block", [](Bytes&) {}, true},
        {"block ends inside the text", [](Bytes& b) { b.resize(12); }, false},
        {"block ends before the text's length", [](Bytes& b) { b.resize(9); }, false},
        {"length runs past the block", [](Bytes& b) { Set16(b, 10, 0xFFFF); }, false},
        {"an earlier length runs past the block", [](Bytes& b) { Set16(b, 0, 0x7FFF); }, false},
    };
    for (const Case& c : cases) {
        Bytes block = good;
        c.spoil(block);
        ResFile f;
        f.Add(res::RT_STRING, 7, res::LANG_EN_US, block);
        const auto all = res::ParseRes(f.bytes);
        ASSERT_TRUE(all.has_value());
        const auto text = res::LoadStringFrom(*all, 101);
        EXPECT_EQ(text.has_value(), c.found) << c.what;
        if (text) {
            EXPECT_EQ(*text, u"OK");
        }
    }
}
