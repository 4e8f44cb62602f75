#pragma once

// Classical scaling of miss patterns for the Bostrime chart: from a miss matrix (one row per
// leg, one column per point, the last column the reference without loss) to plane coordinates
// scaled so the runners lie within -100 to 100 and the reference at the origin.

#include "Quorvelin2Global.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace basBostrime {

// Column-major: the entry of leg i (0-based) and point j is miss[j * legs + i].
struct MissMatrix {
    int legs = 0;
    int points = 0;
    std::vector<double> miss;
    double at(int leg, int point) const {
        return miss[static_cast<std::size_t>(point) * static_cast<std::size_t>(legs) +
                    static_cast<std::size_t>(leg)];
    }
};

// Symmetric matrices are stored full, row-major, size n * n.
QV_EXPORT std::vector<double> Distances(const MissMatrix& m);
QV_EXPORT std::vector<double> DoubleCentre(const std::vector<double>& d, int n);

struct EigenPair {
    double value = 0;
    std::vector<double> vector; // unit length
};

// Every eigenpair by the threshold plane-rotation sweeps, in decreasing order of value. The
// sweeps end when no off-diagonal entry reaches the threshold, which starts at thresholdFactor
// times the largest absolute row sum and grows by 5 % a sweep. The rotation cosine divides by
// the given value of the square root of 2.
inline constexpr double RotationThreshold = 1e-6;
inline constexpr double RotationRoot2 = 1.41421356;
QV_EXPORT std::vector<EigenPair> RotationEigen(std::vector<double> b, int n,
                                               double thresholdFactor = RotationThreshold,
                                               double sqrt2 = RotationRoot2);
// The two algebraically largest eigenpairs by Lanczos iteration with full re-orthogonalisation.
QV_EXPORT std::vector<EigenPair> LanczosTop2(const std::vector<double>& b, int n);

enum class Method {
    Auto,     // rotations for small sets, Lanczos for large ones
    Rotation, // the reference method, every eigenpair
    Lanczos,  // the two largest eigenpairs only
    // The rotations carried on until the off-diagonal entries are rounding noise, with the
    // exact root of 2: the yardstick for the other two, whose stopping rules (and, for the
    // rotations, the rounded root) leave errors of their own.
    RotationToConvergence,
};
// Point counts (runners and reference) up to this use the rotations under Method::Auto.
inline constexpr int RotationLimit = 160;

// The scaled coordinates of points 0 .. points-2 (the runners); the reference is the last point.
// Each axis is signed so that its largest runner coordinate (the first on a tie) is positive.
QV_EXPORT std::vector<std::pair<double, double>> Coordinates(const MissMatrix& m,
                                                             Method method = Method::Auto);

} // namespace basBostrime
