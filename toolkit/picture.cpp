#include "toolkit/picture.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
#include <set>

#include "toolkit/picture_qt.h"
#include "toolkit/runtime.h"
#include "toolkit/text_qt.h"

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

// Says once per file, on stderr, that a picture cannot be read and why.
void Report(const QFileInfo& file, const QString& reason) {
    static std::set<QString> reported;
    if (!reported.insert(file.absoluteFilePath()).second) return;
    std::fprintf(stderr, "%s: cannot read the picture %s: %s\n", ProgramName().c_str(),
                 file.fileName().toLocal8Bit().constData(), reason.toLocal8Bit().constData());
}

// The image decoders' own complaints make way for the one report: libpng
// writes them straight to stderr, so stderr goes nowhere while a file is read.
class QuietStderr {
  public:
    QuietStderr() : saved_(dup(2)) {
        std::fflush(stderr);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, 2);
            close(null);
        }
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, 2);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

  private:
    int saved_;
};

// The picture in the file, or a null image. A missing file is reported only
// when `mustExist`.
QImage Load(const QString& path, bool mustExist) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (mustExist) Report(info, "there is no such file");
        return QImage();
    }
    if (!info.isFile()) {
        Report(info, "it is not a file");
        return QImage();
    }
    if (info.size() > kMaxFileBytes) {
        Report(info, QString("it is larger than %1 MB").arg(kMaxFileBytes >> 20));
        return QImage();
    }
    QImageReader reader(path);
    QImage image;
    {
        const QuietStderr quiet;
        image = reader.read();
    }
    if (image.isNull()) Report(info, reader.errorString());
    return image;
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
    return ToUtf8(QCoreApplication::applicationDirPath()) + "/../share/" + ProgramName() +
           "/pictures";
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
        image = Load(info.path() + '/' + info.completeBaseName() + "@2x." + info.suffix(), false);
        if (!image.isNull()) image.setDevicePixelRatio(2.0);
    }
    if (image.isNull()) image = Load(path, true);
    if (image.isNull()) return nullptr;
    auto impl = std::make_unique<PictureImpl>();
    impl->image = std::move(image);
    return std::make_shared<Picture>(std::move(impl));
}

}  // namespace tk
