#include "basPenacheckRule.h"

using namespace Qt::StringLiterals;

namespace basPenacheckRule {

QList<qint32> Values() {
    QList<qint32> v{BestFitting, AllClasses, NotFailed};
    for (qint32 n = 1; n <= 9; ++n)
        v.append(n);
    v.append(StartAndFinish);
    return v;
}

QString Text(qint32 rule) {
    switch (rule) {
    case BestFitting:
        return u"最も良くあてはまるクラスを割り当てる"_s;
    case AllClasses:
        return u"全てのクラスを割り当てる"_s;
    case NotFailed:
        return u"失格ではない全てのクラスを割り当てる"_s;
    case StartAndFinish:
        return u"スタートとゴールを通過している全てのクラスを割り当てる"_s;
    default:
        if (rule >= 1 && rule <= 9)
            return u"P"_s + QString::number(rule) + u" よりもよい全てのクラスを割り当てる"_s;
        return QString();
    }
}

bool IsValid(qint32 rule) {
    return !Text(rule).isEmpty();
}

bool Selects(qint32 rule, qint32 status) {
    return rule == AllClasses || status <= rule;
}

} // namespace basPenacheckRule
