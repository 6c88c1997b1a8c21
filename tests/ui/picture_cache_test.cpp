// The program's pictures: each accessor keeps the first picture it gets and
// tries again while it has none. This program is its own process, so the
// accessors' first calls are the ones made here; the picture folder is an
// empty temporary folder until a test copies a file into it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "resources/pictures.h"
#include "toolkit/picture.h"

namespace {

// A doubled screen, as on a high-resolution display, set before the
// application starts: a sharper "@2x" picture is looked for first.
const bool kDoubled = qputenv("QT_SCALE_FACTOR", "2");

// <temporary>/pictures, made the picture folder before anything opens a picture.
const QString& Folder() {
    static QTemporaryDir root;
    static const QString folder = [] {
        QDir(root.path()).mkpath("pictures");
        const QString path = root.path() + "/pictures";
        tk::Picture::SetResourceFolder(path.toStdString());
        return path;
    }();
    return folder;
}

QString Source(const char* name) {
    return QString(TAMSAVIK_PICTURES_DIR) + "/" + name;
}

bool CopyPicture(const char* name, const QString& to) {
    QFile::remove(to);
    return QFile::copy(Source(name), to);
}

TEST(PictureCache, KeepsTheFirstPictureAndRetriesWhileThereIsNone) {
    const QString file = Folder() + "/compute.png";
    EXPECT_EQ(resources::_x_compute(), nullptr);
    EXPECT_EQ(resources::_x_compute(), nullptr);

    ASSERT_TRUE(CopyPicture("compute.png", file));
    const auto first = resources::_x_compute();
    ASSERT_NE(first, nullptr);
    const QImage source(Source("compute.png"));
    EXPECT_EQ(first->Width(), source.width());
    EXPECT_EQ(first->Height(), source.height());

    ASSERT_TRUE(QFile::remove(file));
    ASSERT_EQ(tk::Picture::OpenFromApp("compute.png"), nullptr);
    EXPECT_EQ(resources::_x_compute(), first);
}

TEST(PictureCache, OpenFromAppTakesOnlyPlainNamesOfPictures) {
    const QString folder = Folder();
    // Real pictures sit where a path would reach them: only the name rule refuses.
    ASSERT_TRUE(QDir(folder).mkpath("sub"));
    ASSERT_TRUE(CopyPicture("info.png", folder + "/sub/info.png"));
    ASSERT_TRUE(CopyPicture("info.png", folder + "/../info.png"));
    ASSERT_TRUE(QDir(folder).mkpath("folder.png"));
    QFile notPicture(folder + "/notes.png");
    ASSERT_TRUE(notPicture.open(QIODevice::WriteOnly));
    notPicture.write("these are not the bytes of a picture\n");
    notPicture.close();
    ASSERT_TRUE(CopyPicture("info.png", folder + "/plain.png"));

    // There is no sharper plain@2x.png beside it, which is no fault to report.
    ASSERT_TRUE(kDoubled);
    testing::internal::CaptureStderr();
    EXPECT_NE(tk::Picture::OpenFromApp("plain.png"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (const char* name :
         {"sub/info.png", "../info.png", "..", ".", "", "notes.png", "folder.png", "missing.png"}) {
        EXPECT_EQ(tk::Picture::OpenFromApp(name), nullptr) << '"' << name << '"';
    }
}

}  // namespace
