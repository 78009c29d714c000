// The dialog in front of a card: a card image file stands in for the card
// under drive letter E, and START runs on it as the operator would start it.
#include "dialog_fixture.h"
#include "platform/storage/linux/disk_namespace.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qint64 kSector = 512;
constexpr qint64 kCardSectors = 131072;  // a 64 MiB card

class CardTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        cardPath = dir.filePath("card.img");
        QFile card(cardPath);
        ASSERT_TRUE(card.open(QIODevice::WriteOnly));
        ASSERT_TRUE(card.resize(kCardSectors * kSector));
        card.close();
        const std::string error =
            platform::storage::DiskNamespace::Current().AddImageDrive('E', cardPath.toStdString());
        ASSERT_EQ(error, "");
    }
    void TearDown() override {
        platform::storage::DiskNamespace::Current().RemoveImageDrives();
        DialogTest::TearDown();
    }

    // An image file of length bytes whose every byte says where it lies.
    QString MakeImage(const QString& name, qint64 length, int seed) {
        QByteArray bytes(static_cast<int>(length), '\0');
        for (qint64 i = 0; i < length; ++i)
            bytes[static_cast<int>(i)] = static_cast<char>((i * 7 + i / 251 + seed) & 0xFF);
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), length);
        return file.fileName();
    }
    QByteArray CardBytes(qint64 sector, qint64 length) const {
        QFile card(cardPath);
        EXPECT_TRUE(card.open(QIODevice::ReadOnly));
        card.seek(sector * kSector);
        return card.read(length);
    }
    static QByteArray FileBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // Picks drive E in the list as the operator would and clears what the
    // check said about the letters passed on the way.
    void ChooseDriveE() {
        Choose(IDC_DRIVE, 1);
        ASSERT_EQ(Combo(IDC_DRIVE)->currentText(), "E");
        EXPECT_EQ(Edit(IDC_DRIVE_SIZE)->text(), QString("%1 sectors").arg(kCardSectors));
        boxes.clear();
    }

    QTemporaryDir dir;
    QString cardPath;
};

// START begins with the drive check, which shows every member again: a path
// typed but never taken in is replaced by its member's value and not used.
TEST_F(CardTest, ATypedPathIsReplacedByItsMemberAtStart) {
    const QString bootloader = MakeImage("u-boot.bin", 300000, 1);
    WithDialog([&] {
        ChooseDriveE();
        Type(IDC_BOOTLOADER_PATH, bootloader);
        Button(IDC_START)->click();
        EXPECT_EQ(Edit(IDC_BOOTLOADER_PATH)->text(), "");
        EXPECT_TRUE(dlg->m_strBootloaderPath.IsEmpty());
    });
    EXPECT_EQ(CardBytes(0, kCardSectors * kSector).count('\0'), kCardSectors * kSector) << "nothing written";
}

// The whole tool driven from the dialog: drive E picked from the list, the
// three images chosen with Browse, the start sector typed, START pressed.
TEST_F(CardTest, AFullRunFusesEveryImageAndClearsTheRanges) {
    const qint64 bootloaderLength = 300000;
    const qint64 kernelLength = 2000000;
    const qint64 rootfsLength = 9 * 1024 * 1024 + 1000;  // two chunks, the last one short
    const QString bootloader = MakeImage("u-boot.bin", bootloaderLength, 1);
    const QString kernel = MakeImage("zImage", kernelLength, 2);
    const QString rootfs = MakeImage("rootfs.img", rootfsLength, 3);

    // What the dialog shows while "Fusing image done" is up.
    std::vector<QString> shownAtTheEnd;
    platform::testing::SetMessageBoxHook([&](const platform::testing::MessageBoxCall& call) {
        boxes.push_back(call);
        if (call.text != u"Fusing image done")
            return IDOK;
        for (int id : {IDC_BL_FROM, IDC_BL_TO, IDC_BL_DRIVE, IDC_KERNEL_FROM, IDC_KERNEL_TO, IDC_KERNEL_DRIVE,
                       IDC_PROGRESS})
            shownAtTheEnd.push_back(Edit(id)->text());
        return IDOK;
    });

    WithDialog([&] {
        ChooseDriveE();
        const std::pair<int, QString> browsed[] = {
            {IDC_BROWSE_BOOTLOADER, bootloader}, {IDC_BROWSE_KERNEL, kernel}, {IDC_BROWSE_ROOTFS, rootfs}};
        for (const auto& [button, path] : browsed) {
            fileDialogAnswer = {IDOK, path.toStdU16String()};
            Button(button)->click();
        }
        Type(IDC_ROOTFS_START_SECTOR, "2048");
        FocusOn(IDC_START);
        ASSERT_TRUE(boxes.empty());

        Button(IDC_START)->click();

        ASSERT_EQ(BoxTexts(), std::vector<std::u16string>{u"Fusing image done"});
        EXPECT_EQ(boxes[0].caption, u"NOTICE");
        // T = 131072: BL2 from T - 1074 to the last BL1 sector T - 3; the
        // kernel from T - 9266 over its 3907 sectors.
        EXPECT_EQ(shownAtTheEnd,
                  (std::vector<QString>{"129998", "131069", "E", "121806", "125712", "E", "  100 %"}));
        for (int id : {IDC_BL_FROM, IDC_BL_TO, IDC_BL_DRIVE, IDC_KERNEL_FROM, IDC_KERNEL_TO, IDC_KERNEL_DRIVE,
                       IDC_PROGRESS})
            EXPECT_EQ(Edit(id)->text(), "") << "control " << id;
        EXPECT_EQ(Edit(IDC_ROOTFS_START_SECTOR)->text(), "0");
        EXPECT_EQ(Edit(IDC_DRIVE_SIZE)->text(), QString("%1 sectors").arg(kCardSectors));
    });

    const QByteArray bootloaderBytes = FileBytes(bootloader);
    const QByteArray bl1 = CardBytes(kCardSectors - 18, 8192);
    EXPECT_EQ(bl1.left(8188), bootloaderBytes.left(8188));
    quint32 checksum = 0;
    for (int i = 0; i < 8188; ++i)
        checksum += static_cast<quint8>(bootloaderBytes[i]);
    const QByteArray stored = bl1.mid(8188);
    EXPECT_EQ(stored, QByteArray::fromRawData(reinterpret_cast<const char*>(&checksum), 4));

    const QByteArray bl2 = CardBytes(kCardSectors - 1074, 1056 * kSector);
    EXPECT_EQ(bl2.left(bootloaderLength), bootloaderBytes);
    EXPECT_EQ(bl2.mid(bootloaderLength).count('\0'), 1056 * kSector - bootloaderLength);

    EXPECT_EQ(CardBytes(kCardSectors - 9266, kernelLength), FileBytes(kernel));
    EXPECT_EQ(CardBytes(2048, rootfsLength), FileBytes(rootfs));
    EXPECT_EQ(CardBytes(kCardSectors - 2, 2 * kSector).count('\0'), 2 * kSector) << "eFuse area untouched";
}

} // namespace
