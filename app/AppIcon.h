#pragma once
#include <QIcon>

// The program's icon, from the images in its resources (16, 32, 48, 64, 128
// and 256 pixels).
QIcon AppIcon();

// Registers the program's compiled-in resources (icons, the guide's text);
// every reader calls it first, and only the first call does anything.
void InitMarrowpadResources();
