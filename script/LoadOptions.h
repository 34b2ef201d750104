#pragma once

// How a script is loaded into an action list.
struct LoadOptions
{
    // Whether an invalid date text is reported to the user. The loads that
    // follow a save and those of a change check read text the user has
    // already been told about, so they pass false.
    bool reportInvalidDates = true;
};
