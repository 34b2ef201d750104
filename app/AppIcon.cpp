#include "app/AppIcon.h"

// Resources compiled into a static library are registered by hand, once.
void InitMarrowpadResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(marrowpad);
        return true;
    }();
    Q_UNUSED(done);
}

QIcon AppIcon()
{
    InitMarrowpadResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/marrowpad/icons/marrowpad-%1.png").arg(size), QSize(size, size));
    return icon;
}
