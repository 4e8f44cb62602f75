#include "basRankOrder.h"

#include <algorithm>

namespace basRankOrder {

void Fill(CclsSort& sort, std::vector<std::pair<double, qint32>> keyed) {
    // Payloads rise in item order, so ordering by (key, payload) keeps equal keys in item order.
    std::sort(keyed.begin(), keyed.end());
    for (const auto& [key, payload] : keyed)
        sort.AddLong(key, payload);
}

} // namespace basRankOrder
