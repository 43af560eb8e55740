// Growth rule shared by every typed array.
#include "base/CMavArray.h"

#include <climits>

int CMavArray::grownCapacity(int cap, int needed)
{
    if (needed <= cap)
        return cap;
    long long c = cap > 0 ? cap : 8;
    while (c < needed)
        c *= 2;
    return c > INT_MAX ? INT_MAX : static_cast<int>(c);
}
