#include "resources/pictures.h"

namespace resources {

namespace {

// The cache behind one accessor: opens the file until a picture is had.
std::shared_ptr<tk::Picture> Cached(std::shared_ptr<tk::Picture>& pic, const char* fileName) {
    if (!pic) pic = tk::Picture::OpenFromApp(fileName);
    return pic;
}

}  // namespace

std::shared_ptr<tk::Picture> _x_CirclesSmall() {
    static std::shared_ptr<tk::Picture> pic;
    return Cached(pic, "CirclesSmall.png");
}

std::shared_ptr<tk::Picture> _x_compute() {
    static std::shared_ptr<tk::Picture> pic;
    return Cached(pic, "compute.png");
}

std::shared_ptr<tk::Picture> _x_clear() {
    static std::shared_ptr<tk::Picture> pic;
    return Cached(pic, "clear.png");
}

std::shared_ptr<tk::Picture> _x_info() {
    static std::shared_ptr<tk::Picture> pic;
    return Cached(pic, "info.png");
}

std::shared_ptr<tk::Picture> _x_title3() {
    static std::shared_ptr<tk::Picture> pic;
    return Cached(pic, "title3.png");
}

std::shared_ptr<tk::Picture> _x_CirclesVSmall() {
    static std::shared_ptr<tk::Picture> pic;
    return Cached(pic, "CirclesVSmall.png");
}

}  // namespace resources
