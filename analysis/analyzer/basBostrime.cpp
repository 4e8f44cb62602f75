#include "basBostrime.h"

#include "CclsSort.h"

#include <algorithm>
#include <cmath>

namespace basBostrime {

namespace {

inline size_t at(int row, int col, int n) {
    return static_cast<size_t>(row) * static_cast<size_t>(n) + static_cast<size_t>(col);
}

// Implicit QL on a symmetric tridiagonal matrix (diagonal d, sub-diagonal e[1..n-1]);
// z receives the eigenvectors as columns (row-major n * n). Values are left unsorted.
void tridiagonalEigen(std::vector<double>& d, std::vector<double> e, std::vector<double>& z, int n) {
    z.assign(static_cast<size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i)
        z[at(i, i, n)] = 1.0;
    for (int i = 1; i < n; ++i)
        e[static_cast<size_t>(i - 1)] = e[static_cast<size_t>(i)];
    e[static_cast<size_t>(n - 1)] = 0.0;
    double f = 0.0;
    double tst1 = 0.0;
    const double eps = std::ldexp(1.0, -52);
    for (int l = 0; l < n; ++l) {
        tst1 = std::max(tst1, std::abs(d[l]) + std::abs(e[l]));
        int m = l;
        while (m < n - 1 && std::abs(e[m]) > eps * tst1)
            ++m;
        if (m > l) {
            int iter = 0;
            do {
                ++iter;
                double g = d[l];
                double p = (d[l + 1] - g) / (2.0 * e[l]);
                double r = std::hypot(p, 1.0);
                if (p < 0)
                    r = -r;
                d[l] = e[l] / (p + r);
                d[l + 1] = e[l] * (p + r);
                const double dl1 = d[l + 1];
                double h = g - d[l];
                for (int i = l + 2; i < n; ++i)
                    d[i] -= h;
                f += h;
                p = d[m];
                double c = 1.0, c2 = 1.0, c3 = 1.0;
                const double el1 = e[l + 1];
                double s = 0.0, s2 = 0.0;
                for (int i = m - 1; i >= l; --i) {
                    c3 = c2;
                    c2 = c;
                    s2 = s;
                    g = c * e[i];
                    h = c * p;
                    r = std::hypot(p, e[i]);
                    e[i + 1] = s * r;
                    s = e[i] / r;
                    c = p / r;
                    p = c * d[i] - s * g;
                    d[i + 1] = h + s * (c * g + s * d[i]);
                    for (int k = 0; k < n; ++k) {
                        h = z[at(k, i + 1, n)];
                        z[at(k, i + 1, n)] = s * z[at(k, i, n)] + c * h;
                        z[at(k, i, n)] = c * z[at(k, i, n)] - s * h;
                    }
                }
                p = -s * s2 * c3 * el1 * e[l] / dl1;
                e[l] = s * p;
                d[l] = c * p;
            } while (std::abs(e[l]) > eps * tst1 && iter < 100);
        }
        d[l] += f;
        e[l] = 0.0;
    }
}

// A fixed pseudo-random start so that results repeat run after run.
std::vector<double> startVector(int n, unsigned seed) {
    std::vector<double> v(static_cast<size_t>(n));
    unsigned x = 2463534242u ^ (seed * 2654435761u);
    for (auto& e : v) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        e = static_cast<double>(x) / 4294967296.0 - 0.5;
    }
    return v;
}

double dot(const double* a, const double* b, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i)
        s += a[i] * b[i];
    return s;
}

} // namespace

std::vector<double> Distances(const MissMatrix& m) {
    const int n = m.points;
    const int legs = m.legs;
    // Leg by leg over rows of points, so the innermost loop runs over independent entries.
    std::vector<double> byLeg(static_cast<size_t>(legs) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < legs; ++i)
            byLeg[at(i, j, n)] = m.at(i, j);
    std::vector<double> d(static_cast<size_t>(n) * n, 0.0);
    for (int j = 0; j < n; ++j) {
        double* row = d.data() + at(j, 0, n);
        for (int i = 0; i < legs; ++i) {
            const double* leg = byLeg.data() + at(i, 0, n);
            const double a = leg[j];
            for (int k = j + 1; k < n; ++k)
                row[k] += std::abs(a - leg[k]);
        }
        for (int k = j + 1; k < n; ++k)
            d[at(k, j, n)] = row[k];
    }
    return d;
}

std::vector<double> DoubleCentre(const std::vector<double>& d, int n) {
    std::vector<double> row(static_cast<size_t>(n), 0.0), col(static_cast<size_t>(n), 0.0);
    double all = 0;
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k) {
            const double v = d[at(j, k, n)];
            row[static_cast<size_t>(j)] += v;
            col[static_cast<size_t>(k)] += v;
            all += v;
        }
    for (int j = 0; j < n; ++j) {
        row[static_cast<size_t>(j)] /= n;
        col[static_cast<size_t>(j)] /= n;
    }
    const double g = all / (static_cast<double>(n) * n);
    std::vector<double> b(static_cast<size_t>(n) * n);
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k)
            b[at(j, k, n)] =
                -0.5 * (d[at(j, k, n)] - row[static_cast<size_t>(j)] - col[static_cast<size_t>(k)] + g);
    return b;
}

std::vector<EigenPair> RotationEigen(std::vector<double> b, int n, double thresholdFactor, double sqrt2) {
    std::vector<double> v(static_cast<size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i)
        v[at(i, i, n)] = 1.0;

    double largestRowSum = 0;
    for (int j = 0; j < n; ++j) {
        double s = 0;
        for (int k = 0; k < n; ++k)
            s += std::abs(b[at(j, k, n)]);
        largestRowSum = std::max(largestRowSum, s);
    }
    double t = thresholdFactor * largestRowSum;

    // The threshold grows every sweep, so the loop ends; the cap only guards against NaN input.
    for (int sweep = 0; sweep < 1000; ++sweep) {
        double largestOff = 0;
        for (int p = 0; p < n; ++p)
            for (int q = p + 1; q < n; ++q)
                largestOff = std::max(largestOff, std::abs(b[at(p, q, n)]));
        if (!(largestOff >= t) || largestOff == 0)
            break;
        for (int p = 0; p < n - 1; ++p) {
            for (int q = p + 1; q < n; ++q) {
                const double bpq = b[at(p, q, n)];
                if (!(std::abs(bpq) >= t))
                    continue;
                const double bpp = b[at(p, p, n)];
                const double bqq = b[at(q, q, n)];
                const double a = (bpp + bqq) / 2;
                const double dd = (bpp - bqq) / 2;
                const double r = std::sqrt(bpq * bpq + dd * dd);
                const double c = std::sqrt(1 + std::abs(dd) / r) / sqrt2;
                // The small angle that clears B(p, q): its direction follows the sign of d.
                const double sgn = dd < 0 ? -1.0 : 1.0;
                const double s = sgn * bpq / (2 * c * r);
                for (int k = 0; k < n; ++k) {
                    if (k == p || k == q)
                        continue;
                    const double bkp = b[at(k, p, n)];
                    const double bkq = b[at(k, q, n)];
                    const double np = c * bkp + s * bkq;
                    const double nq = -s * bkp + c * bkq;
                    b[at(k, p, n)] = np;
                    b[at(p, k, n)] = np;
                    b[at(k, q, n)] = nq;
                    b[at(q, k, n)] = nq;
                }
                b[at(p, p, n)] = a + sgn * r;
                b[at(q, q, n)] = a - sgn * r;
                b[at(p, q, n)] = 0;
                b[at(q, p, n)] = 0;
                for (int k = 0; k < n; ++k) {
                    const double vkp = v[at(k, p, n)];
                    const double vkq = v[at(k, q, n)];
                    v[at(k, p, n)] = c * vkp + s * vkq;
                    v[at(k, q, n)] = -s * vkp + c * vkq;
                }
            }
        }
        t *= 1.05;
    }

    CclsSort order;
    for (int i = 0; i < n; ++i)
        order.AddLong(-b[at(i, i, n)], i);
    std::vector<EigenPair> pairs;
    pairs.reserve(static_cast<size_t>(n));
    for (int pos = 1; pos <= order.Count(); ++pos) {
        const int i = order.LongItem(pos);
        EigenPair e;
        e.value = b[at(i, i, n)];
        e.vector.resize(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            e.vector[static_cast<size_t>(k)] = v[at(k, i, n)];
        pairs.push_back(std::move(e));
    }
    return pairs;
}

std::vector<EigenPair> LanczosTop2(const std::vector<double>& b, int n) {
    if (n <= 2) {
        auto all = RotationEigen(b, n);
        all.resize(std::min<size_t>(all.size(), 2));
        return all;
    }
    const int maxK = std::min(n, 600);
    std::vector<double> q(static_cast<size_t>(maxK + 1) * n, 0.0); // Lanczos vectors, one per row
    std::vector<double> alpha, beta;
    std::vector<double> w(static_cast<size_t>(n));
    auto qRow = [&](int j) { return q.data() + static_cast<size_t>(j) * n; };

    const auto orthogonalise = [&](std::vector<double>& x, int upTo, double* diagonal) {
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 0; i <= upTo; ++i) {
                const double h = dot(qRow(i), x.data(), n);
                const double* qi = qRow(i);
                for (int k = 0; k < n; ++k)
                    x[static_cast<size_t>(k)] -= h * qi[k];
                if (diagonal && i == upTo)
                    *diagonal += h;
            }
    };

    {
        std::vector<double> s = startVector(n, 1);
        const double norm = std::sqrt(dot(s.data(), s.data(), n));
        for (int k = 0; k < n; ++k)
            qRow(0)[k] = s[static_cast<size_t>(k)] / norm;
    }

    double scale = 0;
    std::vector<double> d, z;
    int k = 0;
    for (int j = 0; j < maxK; ++j) {
        const double* qj = qRow(j);
        // B is symmetric: w = sum of its rows weighted by q, a loop over independent entries.
        std::fill(w.begin(), w.end(), 0.0);
        for (int c = 0; c < n; ++c) {
            const double x = qj[c];
            const double* row = b.data() + static_cast<size_t>(c) * n;
            for (int r = 0; r < n; ++r)
                w[static_cast<size_t>(r)] += x * row[r];
        }
        double a = dot(qj, w.data(), n);
        for (int r = 0; r < n; ++r) {
            w[static_cast<size_t>(r)] -= a * qj[r];
            if (j > 0)
                w[static_cast<size_t>(r)] -= beta.back() * qRow(j - 1)[r];
        }
        orthogonalise(w, j, &a);
        alpha.push_back(a);
        double bj = std::sqrt(dot(w.data(), w.data(), n));
        scale = std::max(scale, std::abs(a) + bj + (beta.empty() ? 0.0 : beta.back()));
        k = j + 1;

        const bool lastStep = k == maxK;
        const bool breakdown = bj <= 1e-13 * scale;
        if (k >= 2 && (k % 8 == 0 || lastStep || breakdown)) {
            d = alpha;
            std::vector<double> e(static_cast<size_t>(k), 0.0);
            for (int i = 1; i < k; ++i)
                e[static_cast<size_t>(i)] = beta[static_cast<size_t>(i - 1)];
            tridiagonalEigen(d, e, z, k);
            int i1 = 0;
            for (int i = 1; i < k; ++i)
                if (d[i] > d[i1])
                    i1 = i;
            int i2 = i1 == 0 ? 1 : 0;
            for (int i = 0; i < k; ++i)
                if (i != i1 && d[i] > d[i2])
                    i2 = i;
            const double r1 = std::abs(bj * z[at(k - 1, i1, k)]);
            const double r2 = std::abs(bj * z[at(k - 1, i2, k)]);
            if (lastStep || (r1 <= 1e-11 * scale && r2 <= 1e-11 * scale))
                break;
        }
        if (breakdown) {
            // An invariant subspace: carry on from a fresh direction orthogonal to it.
            std::vector<double> s = startVector(n, static_cast<unsigned>(j + 2));
            orthogonalise(s, j, nullptr);
            const double norm = std::sqrt(dot(s.data(), s.data(), n));
            if (norm <= 1e-8)
                break;
            beta.push_back(0.0);
            for (int r = 0; r < n; ++r)
                qRow(j + 1)[r] = s[static_cast<size_t>(r)] / norm;
        } else {
            beta.push_back(bj);
            for (int r = 0; r < n; ++r)
                qRow(j + 1)[r] = w[static_cast<size_t>(r)] / bj;
        }
    }
    if (static_cast<int>(d.size()) != k) {
        d = alpha;
        std::vector<double> e(static_cast<size_t>(k), 0.0);
        for (int i = 1; i < k; ++i)
            e[static_cast<size_t>(i)] = beta[static_cast<size_t>(i - 1)];
        tridiagonalEigen(d, e, z, k);
    }

    std::vector<int> idx(static_cast<size_t>(k));
    for (int i = 0; i < k; ++i)
        idx[static_cast<size_t>(i)] = i;
    std::stable_sort(idx.begin(), idx.end(), [&](int x, int y) { return d[x] > d[y]; });
    std::vector<EigenPair> pairs;
    for (int t = 0; t < std::min(2, k); ++t) {
        const int c = idx[static_cast<size_t>(t)];
        EigenPair e;
        e.value = d[c];
        e.vector.assign(static_cast<size_t>(n), 0.0);
        for (int i = 0; i < k; ++i) {
            const double y = z[at(i, c, k)];
            const double* qi = qRow(i);
            for (int r = 0; r < n; ++r)
                e.vector[static_cast<size_t>(r)] += y * qi[r];
        }
        const double norm = std::sqrt(dot(e.vector.data(), e.vector.data(), n));
        if (norm > 0)
            for (auto& x : e.vector)
                x /= norm;
        pairs.push_back(std::move(e));
    }
    return pairs;
}

std::vector<std::pair<double, double>> Coordinates(const MissMatrix& m, Method method) {
    const int n = m.points;
    const int runners = std::max(n - 1, 0);
    std::vector<std::pair<double, double>> out(static_cast<size_t>(runners), {0.0, 0.0});
    if (n < 2)
        return out;
    const std::vector<double> b = DoubleCentre(Distances(m), n);
    if (method == Method::Auto)
        method = n <= RotationLimit ? Method::Rotation : Method::Lanczos;
    const std::vector<EigenPair> pairs = method == Method::Rotation ? RotationEigen(b, n)
                                         : method == Method::RotationToConvergence
                                             ? RotationEigen(b, n, 1e-15, std::sqrt(2.0))
                                             : LanczosTop2(b, n);

    std::vector<double> axis[2];
    for (int a = 0; a < 2; ++a) {
        axis[a].assign(static_cast<size_t>(n), 0.0);
        if (a >= static_cast<int>(pairs.size()))
            continue;
        // A negative eigenvalue has no real root: that axis collapses onto zero.
        const double root = std::sqrt(std::max(pairs[static_cast<size_t>(a)].value, 0.0));
        for (int j = 0; j < n; ++j)
            axis[a][static_cast<size_t>(j)] =
                root * pairs[static_cast<size_t>(a)].vector[static_cast<size_t>(j)];
        const double ref = axis[a][static_cast<size_t>(n - 1)];
        for (auto& x : axis[a])
            x -= ref;
    }
    double largest = 0;
    for (int a = 0; a < 2; ++a)
        for (int j = 0; j < runners; ++j)
            largest = std::max(largest, std::abs(axis[a][static_cast<size_t>(j)]));
    if (largest == 0)
        return out;
    for (int a = 0; a < 2; ++a) {
        int top = 0;
        for (int j = 1; j < runners; ++j)
            if (std::abs(axis[a][static_cast<size_t>(j)]) > std::abs(axis[a][static_cast<size_t>(top)]))
                top = j;
        const double sign = axis[a][static_cast<size_t>(top)] < 0 ? -1.0 : 1.0;
        for (int j = 0; j < runners; ++j) {
            const double v = sign * 100.0 * axis[a][static_cast<size_t>(j)] / largest;
            if (a == 0)
                out[static_cast<size_t>(j)].first = v;
            else
                out[static_cast<size_t>(j)].second = v;
        }
    }
    return out;
}

} // namespace basBostrime
