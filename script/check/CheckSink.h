#pragma once
// Where the checker tells its problems, one at a time as it finds them, so
// that nothing need hold them all: a command line prints each and forgets it,
// the editor keeps them in a list.

#include "script/check/CheckProblem.h"

#include <vector>

class ICheckSink
{
public:
    virtual ~ICheckSink() = default;
    // A problem of `severity` was found. True when the sink wants it in full
    // (Found follows); false when it only counts it, and the checker spends
    // nothing on its message.
    virtual bool Accept(CheckSeverity severity)
    {
        (void)severity;
        return true;
    }
    virtual void Found(CheckProblem problem) = 0;
};

// Keeps every problem, in the order found.
class CProblemList final : public ICheckSink
{
public:
    void Found(CheckProblem problem) override { m_problems.push_back(std::move(problem)); }
    std::vector<CheckProblem> Take() { return std::move(m_problems); }

private:
    std::vector<CheckProblem> m_problems;
};
