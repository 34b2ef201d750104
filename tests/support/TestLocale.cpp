#include "TestLocale.h"

#include <QLocale>

#include <ctime>

void UseBritishDates(const char *zone)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    qputenv("TZ", zone);
    tzset();
}
