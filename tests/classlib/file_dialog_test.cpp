// The file dialog's filters and default extension, through the hook that
// answers it in tests, and once through the real Qt dialog.
#include "test_dialog.h"

#include "platform/classlib/qt/file_dialog_rules.h"
#include "platform/classlib/file_dialog_rules.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>

namespace classlib_test {
namespace {

using platform::classlib::ToQtNameFilters;
using platform::classlib::WithDefaultExtension;

TEST(FileDialogRules, FilterStringsBecomeQtNameFilters) {
    struct Case {
        const char16_t* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {u"Image (*.bin)|*.bin|All(*.*)|*.*||", {"Image (*.bin) (*.bin)", "All(*.*) (*)"}},
        {u"Image (zImage)|zImage|All(*.*)|*.*||", {"Image (zImage) (zImage)", "All(*.*) (*)"}},
        {u"cramfs (*.cramfs)|*.cramfs|All (*.*)|*.*|", {"cramfs (*.cramfs) (*.cramfs)", "All (*.*) (*)"}},
        {u"Settings|*.dat;*.txt||", {"Settings (*.dat *.txt)"}},
        {u"Dangling|", {}},
        {u"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToQtNameFilters(c.filter), c.expected) << QString::fromStdU16String(c.filter).toStdString();
}

TEST(FileDialogRules, DefaultExtensionOnlyWhenTheNameHasNone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::u16string base = dir.path().toStdU16String() + u"/";
    std::ofstream(dir.filePath("u-boot").toStdString()) << "x";
    std::ofstream(dir.filePath("both").toStdString()) << "x";
    std::ofstream(dir.filePath("both.bin").toStdString()) << "x";
    struct Case {
        std::u16string path, defExt;
        bool open;
        std::u16string expected;
    };
    const Case cases[] = {
        {base + u"new", u"bin", true, base + u"new.bin"},
        {base + u"u-boot", u"bin", true, base + u"u-boot"},  // the bare file is there, the extended one not
        {base + u"both", u"bin", true, base + u"both.bin"},
        {base + u"u-boot", u"bin", false, base + u"u-boot.bin"},
        {base + u"image.img", u"bin", true, base + u"image.img"},
        {base + u"zImage", u"", true, base + u"zImage"},
        {u"/a.dir/file", u"dat", false, u"/a.dir/file.dat"},  // a dot in a folder name does not count
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithDefaultExtension(c.path, c.defExt, c.open), c.expected);
}

class FileDialogHook {
public:
    explicit FileDialogHook(platform::testing::FileDialogAnswer answer) {
        platform::testing::SetFileDialogHook([this, answer](const platform::testing::FileDialogCall& call) {
            calls.push_back(call);
            return answer;
        });
    }
    ~FileDialogHook() { platform::testing::SetFileDialogHook(nullptr); }
    std::vector<platform::testing::FileDialogCall> calls;
};

TEST(FileDialog, HookAnswersWithArgumentsRecorded) {
    {
        FileDialogHook hook({IDOK, u"/images/rootfs"});
        CFileDialog dialog(TRUE, u"img", nullptr, OFN_FILEMUSTEXIST, u"Image (*.img)|*.img|All(*.*)|*.*||");
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetPathName(), u"/images/rootfs.img");
        ASSERT_EQ(hook.calls.size(), 1u);
        EXPECT_TRUE(hook.calls[0].open);
        EXPECT_EQ(hook.calls[0].defExt, u"img");
        EXPECT_EQ(hook.calls[0].flags, OFN_FILEMUSTEXIST);
        EXPECT_EQ(hook.calls[0].filter, u"Image (*.img)|*.img|All(*.*)|*.*||");
    }
    {
        FileDialogHook hook({IDCANCEL, u"/ignored"});
        CFileDialog dialog(FALSE, u"dat", u"settings", OFN_OVERWRITEPROMPT, u"Settings (*.dat)|*.dat||");
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.GetPathName(), u"");
        EXPECT_FALSE(hook.calls[0].open);
        EXPECT_EQ(hook.calls[0].fileName, u"settings");
    }
}

TEST(FileDialog, RealDialogWithoutHookOffersTheFilters) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString image = dir.filePath("u-boot.bin");
    std::ofstream(image.toStdString()) << "x";
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->nameFilters();
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->selectFile(image);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    CFileDialog dialog(TRUE, u"bin", nullptr, OFN_FILEMUSTEXIST, u"Image (*.bin)|*.bin|All(*.*)|*.*||");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(offered, QStringList({"Image (*.bin) (*.bin)", "All(*.*) (*)"}));
    EXPECT_EQ(dialog.GetPathName().Str(), image.toStdU16String());
}

} // namespace
} // namespace classlib_test
