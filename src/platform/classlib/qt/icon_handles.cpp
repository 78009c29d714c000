#include "platform/classlib/qt/icon_handles.h"

#include "platform/resources/resources.h"
#include "platform/uiservices/ui_services.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstdlib>
#include <map>
#include <memory>

namespace platform::classlib {
namespace {

int LargeIconSize() { return GetSystemMetrics(SM_CXICON); }

// Of the images in an .ico file, the one Windows would pick for the large
// icon: the size closest to it (larger ones first), then the most colours.
QImage PickLargeImage(const QByteArray& icoFile) {
    QBuffer buffer;
    buffer.setData(icoFile);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    const int wanted = LargeIconSize();
    QImage best;
    auto better = [wanted](const QImage& a, const QImage& b) {
        const int da = std::abs(a.width() - wanted), db = std::abs(b.width() - wanted);
        if (da != db)
            return da < db;
        return a.colorCount() == 0 && b.colorCount() != 0;  // true colour beats a palette
    };
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && (best.isNull() || better(image, best)))
            best = image;
    }
    if (!best.isNull() && best.width() != wanted)
        best = best.scaled(wanted, wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return best;
}

} // namespace

HICON ResourceIconHandle(WORD groupId) {
    static std::map<WORD, std::unique_ptr<QIcon>> loaded;
    if (auto it = loaded.find(groupId); it != loaded.end())
        return reinterpret_cast<HICON>(it->second.get());
    const auto file = resources::BuildIconFile(groupId);
    if (!file)
        return nullptr;
    const QImage image = PickLargeImage(QByteArray(reinterpret_cast<const char*>(file->data()),
                                                   static_cast<qsizetype>(file->size())));
    if (image.isNull())
        return nullptr;
    auto icon = std::make_unique<QIcon>(QPixmap::fromImage(image));
    HICON handle = reinterpret_cast<HICON>(icon.get());
    loaded.emplace(groupId, std::move(icon));
    return handle;
}

const QIcon* IconFromHandle(HICON icon) { return reinterpret_cast<const QIcon*>(icon); }

QPixmap LargeIconPixmap(HICON icon) {
    const QIcon* qicon = IconFromHandle(icon);
    return qicon ? qicon->pixmap(LargeIconSize(), LargeIconSize()) : QPixmap();
}

} // namespace platform::classlib
