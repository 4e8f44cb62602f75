#include "basRankOrder.h"

#include <algorithm>

namespace basRankOrder {

void Fill(CclsSort& sort, std::vector<std::pair<double, qint32>> keyed) {
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, payload] : keyed)
        sort.AddLong(key, payload);
}

} // namespace basRankOrder
