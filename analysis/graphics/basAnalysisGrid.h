#pragma once

// The analysis laid out as a table in a host's grid: one column per selected runner; rows for
// name, club, result, rank, leg and split times, cruise speed and miss rate, relatives, miss
// times and the time without misses.

class clsAnalyzer;
class clsGridObject;

namespace basAnalysisGrid {

// Rows of an analysis over this many legs.
constexpr int rowCount(int legs) {
    return 4 * legs + 15;
}

// Draws the executed analyzer's selection into the grid. An analysis of more legs than the
// runners' tables hold raises ProjectError before the grid is touched.
void draw(const clsAnalyzer& analyzer, clsGridObject& grid);

} // namespace basAnalysisGrid
