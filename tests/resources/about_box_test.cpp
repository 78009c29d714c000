// The compiled About box (template 100), the string table and the manifest.
#include "platform/resources/resources.h"
#include "res_printers.h"
#include "resource.h"
#include "window_styles.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>

#include <string>

namespace res = platform::resources;

TEST(AboutBoxTemplate, CaptionSizeStylesAndControls) {
    const auto bytes = res::Find(res::ResId::Of(res::RT_DIALOG), res::ResId::Of(IDD_ABOUTBOX));
    ASSERT_TRUE(bytes.has_value());
    const auto dlg = res::ParseDialog(*bytes);
    ASSERT_TRUE(dlg.has_value());
    EXPECT_EQ(dlg->caption, u"About Strovane");
    EXPECT_EQ(dlg->cx, 218);
    EXPECT_EQ(dlg->cy, 54);
    EXPECT_EQ(dlg->style, DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS});
    EXPECT_EQ(dlg->pointSize, 8);
    EXPECT_EQ(dlg->typeface, u"MS Shell Dlg");

    struct Want {
        DWORD id;
        WORD windowClass;
        res::ResId title;
        short x, y, cx, cy;
        DWORD style;
    };
    const Want want[] = {
        {static_cast<DWORD>(-1), CTL_STATIC, res::ResId::Of(IDR_MAINFRAME), 11, 12, 20, 20, SS_ICON},
        {static_cast<DWORD>(-1), CTL_STATIC, res::ResId{std::nullopt, u"Strovane for TALVEN"}, 41, 17, 93, 13,
         SS_NOPREFIX | WS_GROUP},
        {1, CTL_BUTTON, res::ResId{std::nullopt, u"OK"}, 147, 12, 50, 16, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    };
    ASSERT_EQ(dlg->items.size(), std::size(want));
    for (std::size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE("About box control " + std::to_string(i));
        const auto& got = dlg->items[i];
        EXPECT_EQ(got.id, want[i].id);
        EXPECT_EQ(got.windowClass, res::ResId::Of(want[i].windowClass));
        EXPECT_EQ(got.title, want[i].title);
        EXPECT_EQ(got.x, want[i].x);
        EXPECT_EQ(got.y, want[i].y);
        EXPECT_EQ(got.cx, want[i].cx);
        EXPECT_EQ(got.cy, want[i].cy);
        EXPECT_EQ(got.style, WS_CHILD | WS_VISIBLE | want[i].style);
    }
}

TEST(StringTable, AboutItemTextAndNothingAroundIt) {
    EXPECT_EQ(res::LoadString(IDS_ABOUTBOX), std::u16string(u"&About Corvanti..."));
    // Its neighbours in the same block of 16, and a block that does not exist.
    EXPECT_FALSE(res::LoadString(IDS_ABOUTBOX - 1).has_value());
    EXPECT_FALSE(res::LoadString(IDS_ABOUTBOX + 1).has_value());
    EXPECT_FALSE(res::LoadString(0xFFF0).has_value());
}

TEST(Manifest, AsksForNoElevationAndCommonControlsSix) {
    const auto bytes = res::Find(res::ResId::Of(res::RT_MANIFEST), res::ResId::Of(1));
    ASSERT_TRUE(bytes.has_value());
    QXmlStreamReader xml(QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())));
    std::map<QString, QXmlStreamAttributes> elements;
    bool inDependency = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"dependentAssembly")
                inDependency = true;
            const QString key = (inDependency ? QStringLiteral("dependency/") : QString()) + xml.name().toString();
            elements[key] = xml.attributes();
        } else if (xml.isEndElement() && xml.name() == u"dependentAssembly") {
            inDependency = false;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    const auto& level = elements["requestedExecutionLevel"];
    EXPECT_EQ(level.value("level"), u"asInvoker");
    EXPECT_EQ(level.value("uiAccess"), u"false");

    const auto& controls = elements["dependency/assemblyIdentity"];
    EXPECT_EQ(controls.value("type"), u"win32");
    EXPECT_EQ(controls.value("name"), u"Microsoft.Windows.Common-Controls");
    EXPECT_EQ(controls.value("version"), u"6.0.0.0");
    EXPECT_EQ(controls.value("processorArchitecture"), u"*");
    EXPECT_EQ(controls.value("language"), u"*");
}
