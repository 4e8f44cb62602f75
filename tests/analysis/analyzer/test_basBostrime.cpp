#include "basBostrime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using basBostrime::Method;

constexpr double day = 86400.0;

// A mirror-symmetric set: A and C lost 40 and 80 s on leg 1, B and D the same on leg 2, E
// nothing. Swapping the legs maps the set onto itself, so one axis must be symmetric
// (A and B equal) and the other antisymmetric (A and B opposite); E lies with the reference
// at the origin, C and D twice as far out as A and B would not hold for these distances but
// they must lie farther out; the farthest runner sits at 100.
TEST(Bostrime, MirrorSymmetricSetGivesAMirrorSymmetricPicture) {
    const double losses[5][2] = {{40, 0}, {0, 40}, {80, 0}, {0, 80}, {0, 0}};
    for (Method method : {Method::Rotation, Method::Lanczos, Method::RotationToConvergence}) {
        basBostrime::MissMatrix m;
        m.legs = 2;
        m.points = 6;
        m.miss.assign(12, 0.0);
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 2; ++i)
                m.miss[static_cast<size_t>(j) * 2 + i] = losses[j][i] / day;
        const auto xy = basBostrime::Coordinates(m, method);
        ASSERT_EQ(xy.size(), 5u);
        const auto& [ax, ay] = xy[0];
        const auto& [bx, by] = xy[1];
        const auto& [cx, cy] = xy[2];
        const auto& [dx, dy] = xy[3];
        const bool xSymmetric = std::abs(ax - bx) < 1e-3;
        if (xSymmetric) {
            EXPECT_NEAR(ay, -by, 1e-3);
            EXPECT_NEAR(cx, dx, 1e-3);
            EXPECT_NEAR(cy, -dy, 1e-3);
        } else {
            EXPECT_NEAR(ax, -bx, 1e-3);
            EXPECT_NEAR(ay, by, 1e-3);
            EXPECT_NEAR(cx, -dx, 1e-3);
            EXPECT_NEAR(cy, dy, 1e-3);
        }
        EXPECT_GT(std::hypot(cx, cy), std::hypot(ax, ay) + 1);
        EXPECT_NEAR(std::hypot(ax, ay), std::hypot(bx, by), 1e-3);
        EXPECT_NEAR(xy[4].first, 0.0, 1e-3);
        EXPECT_NEAR(xy[4].second, 0.0, 1e-3);
        double largest = 0;
        for (const auto& p : xy)
            largest = std::max({largest, std::abs(p.first), std::abs(p.second)});
        EXPECT_NEAR(largest, 100.0, 1e-9);
    }
}

basBostrime::MissMatrix randomMisses(std::mt19937& rng, int runners, int legs) {
    std::uniform_real_distribution<double> unit(0, 1);
    basBostrime::MissMatrix m;
    m.legs = legs;
    m.points = runners + 1;
    m.miss.assign(static_cast<size_t>(m.points) * legs, 0.0);
    for (int j = 0; j < runners; ++j)
        for (int i = 0; i < legs; ++i) {
            double s = (unit(rng) - 0.6) * 20; // small gains and losses against the own pace
            if (unit(rng) < 0.15)
                s += unit(rng) * 300; // a mistake
            m.miss[static_cast<size_t>(j) * legs + i] = s / day;
        }
    return m;
}

double residual(const std::vector<double>& b, int n, const basBostrime::EigenPair& e) {
    double worst = 0;
    for (int r = 0; r < n; ++r) {
        double s = 0;
        for (int k = 0; k < n; ++k)
            s += b[static_cast<size_t>(r) * n + k] * e.vector[static_cast<size_t>(k)];
        worst = std::max(worst, std::abs(s - e.value * e.vector[static_cast<size_t>(r)]));
    }
    return worst;
}

TEST(Bostrime, BothEigenMethodsSolveTheCentredMatrix) {
    std::mt19937 rng(7);
    for (int runners : {4, 9, 30, 80}) {
        const auto m = randomMisses(rng, runners, 12);
        const int n = m.points;
        const auto b = basBostrime::DoubleCentre(basBostrime::Distances(m), n);
        double scale = 0;
        for (double v : b)
            scale = std::max(scale, std::abs(v));
        const auto all = basBostrime::RotationEigen(b, n);
        ASSERT_EQ(static_cast<int>(all.size()), n);
        for (size_t i = 1; i < all.size(); ++i)
            EXPECT_GE(all[i - 1].value, all[i].value);
        for (const auto& e : all)
            EXPECT_LT(residual(b, n, e), 1e-4 * scale * n) << runners;
        const auto top = basBostrime::LanczosTop2(b, n);
        ASSERT_EQ(top.size(), 2u);
        for (int a = 0; a < 2; ++a) {
            EXPECT_NEAR(top[static_cast<size_t>(a)].value, all[static_cast<size_t>(a)].value,
                        1e-5 * all[0].value);
            EXPECT_LT(residual(b, n, top[static_cast<size_t>(a)]), 1e-9 * scale * n) << runners;
        }
        // The centring leaves the constant vector in the null space.
        double rowSum = 0;
        for (int k = 0; k < n; ++k)
            rowSum += b[static_cast<size_t>(k)];
        EXPECT_NEAR(rowSum, 0.0, 1e-12);
    }
}

// Largest coordinate difference of two pictures, up to the sign of each axis.
double pictureDifference(const std::vector<std::pair<double, double>>& a,
                         const std::vector<std::pair<double, double>>& b) {
    double same[2] = {0, 0}, flipped[2] = {0, 0};
    for (size_t j = 0; j < a.size(); ++j) {
        same[0] = std::max(same[0], std::abs(a[j].first - b[j].first));
        flipped[0] = std::max(flipped[0], std::abs(a[j].first + b[j].first));
        same[1] = std::max(same[1], std::abs(a[j].second - b[j].second));
        flipped[1] = std::max(flipped[1], std::abs(a[j].second + b[j].second));
    }
    return std::max(std::min(same[0], flipped[0]), std::min(same[1], flipped[1]));
}

double largestCoordinate(const std::vector<std::pair<double, double>>& a) {
    double m = 0;
    for (const auto& p : a)
        m = std::max({m, std::abs(p.first), std::abs(p.second)});
    return m;
}

// The fast way must give the same picture as the rotations on every set where both run. The
// rotations as specified stop at a threshold of 1e-6 of the largest row sum, which by itself
// leaves up to some 1e-3 of the scale; run to convergence they agree with Lanczos to 1e-6 of
// the scale (1e-4 on the axis).
TEST(Bostrime, LanczosAgreesWithTheRotationsOnRandomSets) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> legsOf(3, 30);
    std::vector<int> sizes;
    for (int r = 5; r <= 40; ++r)
        sizes.push_back(r);
    for (int r : {57, 100, 161, 300})
        sizes.push_back(r);
    double worstConverged = 0, worstAsSpecified = 0;
    for (int runners : sizes) {
        const auto m = randomMisses(rng, runners, legsOf(rng));
        const auto converged = basBostrime::Coordinates(m, Method::RotationToConvergence);
        const auto specified = basBostrime::Coordinates(m, Method::Rotation);
        const auto fast = basBostrime::Coordinates(m, Method::Lanczos);
        ASSERT_EQ(converged.size(), fast.size());
        const double d = pictureDifference(converged, fast);
        const double s = pictureDifference(specified, fast);
        worstConverged = std::max(worstConverged, d);
        worstAsSpecified = std::max(worstAsSpecified, s);
        EXPECT_LE(d, 1e-4) << runners << " runners";
        EXPECT_LE(s, 2e-2) << runners << " runners";
        for (const auto* picture : {&converged, &specified, &fast})
            EXPECT_NEAR(largestCoordinate(*picture), 100.0, 1e-9);
    }
    std::printf("largest difference to Lanczos: converged rotations %.3g, specified rotations %.3g\n",
                worstConverged, worstAsSpecified);
}

TEST(Bostrime, RunnerWithoutLossSitsWithTheReferenceAtTheOrigin) {
    std::mt19937 rng(11);
    for (int runners : {5, 12, 200}) {
        auto m = randomMisses(rng, runners, 10);
        for (int i = 0; i < m.legs; ++i)
            m.miss[static_cast<size_t>(2) * m.legs + i] = 0; // runner 3 lost nothing
        const auto xy = basBostrime::Coordinates(m);
        // Within what the rotations' stopping rule leaves (exactly 0 up to rounding otherwise).
        EXPECT_NEAR(xy[2].first, 0.0, 1e-3);
        EXPECT_NEAR(xy[2].second, 0.0, 1e-3);
        EXPECT_NEAR(largestCoordinate(xy), 100.0, 1e-9);
    }
}

TEST(Bostrime, NoLossAnywhereGivesTheOriginForAll) {
    basBostrime::MissMatrix m;
    m.legs = 4;
    m.points = 7;
    m.miss.assign(28, 0.0);
    for (const auto& p : basBostrime::Coordinates(m)) {
        EXPECT_EQ(p.first, 0.0);
        EXPECT_EQ(p.second, 0.0);
    }
}

} // namespace
