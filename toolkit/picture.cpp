#include "toolkit/picture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include "toolkit/qt_widgets.h"

namespace tk {

namespace {

std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

// Pictures larger than this are not pictures of this program.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

QImage Load(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileBytes) return QImage();
    return QImage(path);
}

}  // namespace

Picture::Picture(std::unique_ptr<PictureImpl> impl) : impl_(std::move(impl)) {}
Picture::~Picture() = default;

int Picture::Width() const {
    return static_cast<int>(impl_->image.width() / impl_->image.devicePixelRatio());
}
int Picture::Height() const {
    return static_cast<int>(impl_->image.height() / impl_->image.devicePixelRatio());
}

std::string Picture::ResourceFolder() {
    if (!FolderOverride().empty()) return FolderOverride();
    return ToUtf8(QCoreApplication::applicationDirPath()) + "/../share/tamsavik/pictures";
}

void Picture::SetResourceFolder(std::string folder) {
    FolderOverride() = std::move(folder);
}

std::shared_ptr<Picture> Picture::OpenFromApp(std::string_view fileName) {
    if (!IsPlainFileName(fileName)) return nullptr;
    const QString path = FromUtf8(ResourceFolder()) + '/' + FromUtf8(fileName);
    QImage image;
    // On a doubled screen, a "name@2x.png" beside the file gives a sharper picture.
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    if (ratio > 1.0) {
        const QFileInfo info(path);
        image = Load(info.path() + '/' + info.completeBaseName() + "@2x." + info.suffix());
        if (!image.isNull()) image.setDevicePixelRatio(2.0);
    }
    if (image.isNull()) image = Load(path);
    if (image.isNull()) return nullptr;
    auto impl = std::make_unique<PictureImpl>();
    impl->image = std::move(image);
    return std::make_shared<Picture>(std::move(impl));
}

}  // namespace tk
