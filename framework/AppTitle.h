#pragma once
#include <QString>

// The application title: the caption of every message box of the program.
inline QString AppTitle()
{
    return QStringLiteral("Marrowby script editor");
}
