#pragma once

// Filling a CclsSort in bulk. The container must end up exactly as if the items had been added
// one by one in item order (equal keys: the later item first), but adding them in item order
// costs a shift of the whole list per item. Adding them in ascending key order, equal keys in
// item order, gives the same list while every item lands at or near the end.

#include "CclsSort.h"

#include <utility>
#include <vector>

namespace basRankOrder {

// keyed: (key, payload) in item order, payloads rising. The payloads are added with AddLong.
void Fill(CclsSort& sort, std::vector<std::pair<double, qint32>> keyed);

} // namespace basRankOrder
