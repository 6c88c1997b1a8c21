// The Qt side of pictures: the image a Picture holds.
#pragma once

#include <QImage>

#include "toolkit/picture.h"

namespace tk {

struct PictureImpl {
    QImage image;
};

}  // namespace tk
