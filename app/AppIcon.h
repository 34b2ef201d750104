#pragma once
#include <QIcon>

// The program's icon, from the images in its resources (16, 32, 48 and 256
// pixels).
QIcon AppIcon();
