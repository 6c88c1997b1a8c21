// Pictures opened by file name from the application's resources.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "toolkit/object.h"

namespace tk {

struct PictureImpl;

class Picture : public Object {
  public:
    explicit Picture(std::unique_ptr<PictureImpl> impl);
    ~Picture() override;
    std::string ClassName() const override { return "Picture"; }

    int Width() const;
    int Height() const;

    // The picture of that file name in the application's picture folder, or
    // null when it is missing or unreadable. Only plain file names are looked
    // up: a name with a path separator yields null.
    static std::shared_ptr<Picture> OpenFromApp(std::string_view fileName);

    // The picture folder: beside the executable, ../share/<program>/pictures,
    // in the build tree and after installation alike. Tests may point it
    // elsewhere.
    static std::string ResourceFolder();
    static void SetResourceFolder(std::string folder);

  private:
    friend class CanvasWidget;  // which draws it
    PictureImpl& Impl() const { return *impl_; }
    std::unique_ptr<PictureImpl> impl_;
};

}  // namespace tk
