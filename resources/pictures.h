// The program's six pictures. Each accessor opens its file from the
// application's resources on first use and keeps the picture for the rest of
// the run; while no open has given a picture, each call tries again.
#pragma once

#include <memory>

#include "toolkit/picture.h"

namespace resources {

std::shared_ptr<tk::Picture> _x_CirclesSmall();   // the About window's picture
std::shared_ptr<tk::Picture> _x_compute();        // face of the Compute button
std::shared_ptr<tk::Picture> _x_clear();          // face of the Clear button
std::shared_ptr<tk::Picture> _x_info();           // face of the Help button
std::shared_ptr<tk::Picture> _x_title3();         // the main window's title banner
std::shared_ptr<tk::Picture> _x_CirclesVSmall();  // the main window's small logo

}  // namespace resources
