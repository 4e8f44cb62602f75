#pragma once

// The punch check exactly as the algorithm reads, record by record, with no index: the
// reference the checker is compared against.

#include "clsEcardCourseData.h"
#include "clsEcardTagData.h"

#include <QString>

#include <array>

struct LiteralPenaCheck {
    QString result;
    int status = 0;
    std::array<double, 52> elapsed{};
    std::array<double, 52> postTime{};
    std::array<bool, 52> found{};
    std::array<int, 52> matched{};
    std::array<bool, 51> valid{};
    std::array<int, 51> position{};

    static bool fits(const clsEcardTagData& t, int r, const clsEcardCourseData& c, int p) {
        for (int k = 1; k <= c.UnitCodeKind(p); ++k)
            if (t.ControlNum(r) == c.UnitCode(p, k))
                return true;
        return false;
    }

    void run(const clsEcardTagData& t, const clsEcardCourseData& c) {
        int m = 0;
        int limit = t.ReadingUnitPosIndex();
        const int cc = c.ControlCount();
        const int top = c.IsPunchingFinish() ? cc + 1 : cc;
        const int bottom = c.IsLiftUpStart() ? 0 : 1;
        for (int b = top; b >= bottom; --b) {
            int r = 0;
            for (int i = limit - 1; i >= 1; --i) {
                if (fits(t, i, c, b)) {
                    r = i;
                    break;
                }
            }
            if (r == 0) {
                m = m + 1;
                continue;
            }
            found[b] = true;
            matched[b] = r;
            elapsed[b] = t.ControlTime(r);
            valid[r] = true;
            position[r] = b;
            if (b + 1 <= 51 && found[b + 1]) {
                for (int i = r + 1; i < matched[b + 1]; ++i) {
                    if (fits(t, i, c, b + 1)) {
                        valid[matched[b + 1]] = false;
                        position[matched[b + 1]] = 0;
                        matched[b + 1] = i;
                        elapsed[b + 1] = t.ControlTime(i);
                        valid[i] = true;
                        position[i] = b + 1;
                        break;
                    }
                }
            }
            limit = r;
        }
        if (c.IsPunchingFinish() && !found[cc + 1]) {
            result = QStringLiteral("DNQ"), status = 99;
        } else if (c.IsLiftUpStart() && !found[0]) {
            result = QStringLiteral("DNQ"), status = 99;
        } else if (cc != 0) {
            if (!found[cc])
                result = QStringLiteral("DNF"), status = 98;
            else if (m == 0)
                result = QStringLiteral("OK"), status = 0;
            else
                result = QStringLiteral("P") + QString::number(m), status = m;
        } else if (!c.ForbidControl()) {
            result = QStringLiteral("OK"), status = 0;
        } else {
            int s = 0;
            for (int i = 1; i <= 50; ++i) {
                if (valid[i] && position[i] == 0) {
                    s = i;
                    break;
                }
            }
            if (s != 0) {
                if (s + 1 <= 50 && valid[s + 1] && position[s + 1] == 1)
                    result = QStringLiteral("OK"), status = 0;
                else
                    result = QStringLiteral("DNQ"), status = 99;
            }
        }
        for (int p = 0; p <= 51; ++p)
            if (found[p])
                postTime[p] = t.ActivateTime() + elapsed[p];
    }
};
