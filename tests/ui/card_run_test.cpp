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

} // namespace
