#pragma once
// Offers back what a script held before an in-place save of it was cut short,
// when it is opened: "Restore" puts the copy back into the file (saved as
// any script is) and lets the copy go, "Keep the file" opens the file as it
// is and lets the copy go, "Show both sizes and times" tells them and asks
// again. Unanswered, the copy stays to be offered next time.

#include <QString>

class CLeftCopyOffer
{
public:
    // Asks about each copy left for the file at `path`.
    static void Offer(const QString &path);
};
