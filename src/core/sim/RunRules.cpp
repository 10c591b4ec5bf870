#include "core/sim/RunRules.h"

namespace led::sim {
namespace {

// Out-of-range stored codes must not push the boundary past what 16 · split can hold.
int effectiveSplit(int code)
{
    if (code == SplitRelease || code < 0)
        return 0;
    return code > SplitRelease ? SplitRelease - 1 : code;
}

int latestSplit(const Document& doc, int first, int from)
{
    for (int m = from; m >= first && Document::isScreen(m); --m) {
        const int code = doc.screen(m).split;
        if (code != SplitContinue)
            return effectiveSplit(code);
    }
    return 0;
}

} // namespace

int entrySplit(const Document& doc, int first, int n)
{
    return n <= first ? 0 : latestSplit(doc, first, n - 1);
}

int exitSplit(const Document& doc, int first, int n)
{
    return latestSplit(doc, first, n);
}

} // namespace led::sim
