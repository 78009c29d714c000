// The fusing settings after construction and after initialisation, and the
// partition-size entry test of the bootloader and kernel steps.
#include "card_fixture.h"

using namespace enginetest;

TEST(FusingSettings, ValuesAfterConstruction) {
    CVEXODlg fresh;
    EXPECT_NE(fresh.m_hIcon, nullptr);
    EXPECT_EQ(fresh.m_nDriveIndex, 0);
    EXPECT_EQ(fresh.m_nTotalSectors, 0u);
    EXPECT_EQ(fresh.m_nStartSector, 0u);
    EXPECT_EQ(fresh.m_nDiskNumber, 0);
    EXPECT_EQ(fresh.m_nRootfsStartSector, 0u);
    EXPECT_EQ(fresh.m_nBootloaderPartSize, 512u);
    EXPECT_EQ(fresh.m_nKernelPartSize, 4u);
    EXPECT_EQ(fresh.m_nRootfsPartSize, 8u);
    EXPECT_EQ(fresh.m_nBootloaderUnit, 1024u);
    EXPECT_EQ(fresh.m_nKernelUnit, 1048576u);
    EXPECT_EQ(fresh.m_nRootfsUnit, 1048576u);
    EXPECT_EQ(fresh.m_nBl1Size, 0u);
    EXPECT_EQ(fresh.m_nEfuseSize, 0u);
    EXPECT_EQ(fresh.m_nSdhcReserve, 0u);
    for (const CString* text : {&fresh.m_strDriveSize, &fresh.m_strBlFrom, &fresh.m_strBlTo, &fresh.m_strBlDrive,
                                &fresh.m_strKernelFrom, &fresh.m_strKernelTo, &fresh.m_strKernelDrive,
                                &fresh.m_strProgress, &fresh.m_strBootloaderPath, &fresh.m_strKernelPath,
                                &fresh.m_strCramfsPath, &fresh.m_strRootfsPath})
        EXPECT_TRUE(text->IsEmpty());
    for (const CFile* file : {&fresh.m_fileBootloader, &fresh.m_fileKernel, &fresh.m_fileCramfs, &fresh.m_fileRootfs})
        EXPECT_FALSE(file->IsOpen());
}

using FusingSettingsAfterInit = CardTest;

TEST_F(FusingSettingsAfterInit, ResetSettingsSelectsTheDefaults) {
    dlg->m_strBootloaderPath = u"/x/boot.bin";
    dlg->m_strKernelPath = u"/x/zImage";
    dlg->m_strCramfsPath = u"/x/cramfs";
    dlg->m_strRootfsPath = u"/x/rootfs.img";
    dlg->m_strDriveSize = u"7744512 sectors";
    dlg->m_nTotalSectors = 7744512;
    dlg->m_nStartSector = 99;
    dlg->m_cbSramSize.SetCurSel(4);
    dlg->ResetSettings();

    EXPECT_EQ(dlg->m_nDriveIndex, 256);
    EXPECT_EQ(dlg->m_nStartSector, 0u);
    EXPECT_EQ(dlg->m_nTotalSectors, 0u);
    EXPECT_TRUE(dlg->m_strDriveSize.IsEmpty());
    EXPECT_TRUE(dlg->m_strBootloaderPath.IsEmpty());
    EXPECT_TRUE(dlg->m_strKernelPath.IsEmpty());
    EXPECT_TRUE(dlg->m_strCramfsPath.IsEmpty());
    EXPECT_EQ(dlg->m_strRootfsPath, u"/x/rootfs.img");  // left alone
    EXPECT_EQ(dlg->m_nBl1Size, 8192u);
    EXPECT_EQ(dlg->m_nEfuseSize, 1024u);
    EXPECT_EQ(dlg->m_cbBootloaderUnit.GetCurSel(), 0);
    EXPECT_EQ(dlg->m_cbKernelUnit.GetCurSel(), 1);
    EXPECT_EQ(dlg->m_cbRootfsUnit.GetCurSel(), 1);
    EXPECT_EQ(dlg->m_cbSramSize.GetCurSel(), 1);
    EXPECT_EQ(dlg->m_cbEfuseSize.GetCurSel(), 0);
    EXPECT_EQ(dlg->m_cbDrive.GetCurSel(), CB_ERR);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FusingSettingsAfterInit, CheckPartitionSizesRefusesTheFirstZeroSize) {
    struct Case {
        DWORD bootloader, kernel, rootfs;
        const char16_t* message;  // nullptr: passes
    };
    const Case cases[] = {
        {512, 4, 8, nullptr},
        {0, 4, 8, u"Insert Bootloader partition size|ERROR"},
        {0, 0, 0, u"Insert Bootloader partition size|ERROR"},
        {512, 0, 8, u"Insert Kernel partition size|ERROR"},
        {512, 0, 0, u"Insert Kernel partition size|ERROR"},
        {512, 4, 0, u"Insert Rootfs partition size|ERROR"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        // The test takes the boxes in first: the sizes are set there.
        dlg->m_nBootloaderPartSize = c.bootloader;
        dlg->m_nKernelPartSize = c.kernel;
        dlg->m_nRootfsPartSize = c.rootfs;
        dlg->UpdateData(FALSE);
        dlg->m_nBootloaderPartSize = dlg->m_nKernelPartSize = dlg->m_nRootfsPartSize = 77;
        const int result = dlg->CheckPartitionSizes();
        SCOPED_TRACE(testing::Message() << c.bootloader << " " << c.kernel << " " << c.rootfs);
        EXPECT_EQ(dlg->m_nBootloaderPartSize, c.bootloader);
        if (c.message == nullptr) {
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(boxes.empty());
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(Boxes(), std::vector<std::u16string>{c.message});
            EXPECT_EQ(boxes.front().style, MB_OK);
        }
    }
}

TEST_F(FusingSettingsAfterInit, AUnitOfZeroIsNotRefused) {
    dlg->m_nBootloaderUnit = 0;
    dlg->m_nKernelUnit = 0;
    EXPECT_EQ(dlg->CheckPartitionSizes(), 1);
    EXPECT_TRUE(boxes.empty());
}
