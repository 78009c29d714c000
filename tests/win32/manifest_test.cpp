// The program's manifest: no elevation, and the common controls of version 6
// for any processor, which the system must then actually have given it.
#include "platform/resources/resources.h"
#include "platform/uiservices/ui_services.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace res = platform::resources;

namespace {

std::string ManifestText() {
    const auto bytes = res::Find(res::ResId::Of(res::RT_MANIFEST), res::ResId::Of(1));
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

} // namespace

TEST(WindowsManifest, CommonControlsForAnyProcessorWithoutElevation) {
    const std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find(R"(level="asInvoker")"), std::string::npos);
    EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls")"), std::string::npos);
    // A 64-bit program that asks for the 32-bit ("x86") assembly does not start.
    EXPECT_NE(manifest.find(R"(processorArchitecture="*")"), std::string::npos);
    EXPECT_EQ(manifest.find(R"(processorArchitecture="x86")"), std::string::npos);
}

// The system resolves the dependency to the side-by-side assembly of
// version 6; without it (or with one for another processor) the program
// gets the system folder's version 5, or on Windows does not start at all.
TEST(WindowsManifest, TheSystemGaveTheProgramCommonControlsSix) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    const HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(controls, path, MAX_PATH), 0u);
    std::string loaded;
    for (const wchar_t* c = path; *c; ++c)
        loaded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c < 0x80 ? *c : '?'))));
    EXPECT_NE(loaded.find("\\winsxs\\"), std::string::npos) << loaded;
    EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos) << loaded;
}
