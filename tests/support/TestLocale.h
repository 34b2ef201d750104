#pragma once
// The date picture and time zone the tests read and write dates in.

// Central European time, with its summer time.
inline constexpr char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";

// Dates in the British picture (dd/MM/yyyy) and local times in `zone`, a TZ
// value, which the programs this process starts inherit.
void UseBritishDates(const char *zone);
