#include "basEcard250Wire.h"

#include "clsEcard250FrameReader.h"
#include "clsEventGenerator.h"

using namespace Qt::StringLiterals;

namespace basEcard250Wire {

namespace {

int uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

} // namespace

QByteArray frameOf(const clsEcardTagData& tag) {
    return clsEventGenerator::encodeFrame(tag);
}

std::optional<QString> untransmittable(const QByteArray& frame) {
    if (clsEcard250FrameReader::transmittable(frame))
        return std::nullopt;
    return u"two 0xFF bytes in a row inside the frame (a punch time of 65535 s?)"_s;
}

QByteArray withWrongSum(const QByteArray& frame, std::mt19937& rng) {
    QByteArray f = frame;
    const int pos =
        uniform(rng, clsEcard250FrameReader::HeaderSize + 1, clsEcard250FrameReader::FrameSize - 1);
    const auto b = static_cast<uchar>(f[pos - 1]);
    f[pos - 1] = static_cast<char>(b >= 0xFE ? b - 1 : b + 1);
    return f;
}

QByteArray garbage(std::mt19937& rng, int minBytes, int maxBytes) {
    QByteArray g;
    const int n = uniform(rng, minBytes, maxBytes);
    const auto start = clsEcard250FrameReader::scramble(clsEcard250FrameReader::FrameStart);
    while (g.size() < n) {
        const auto b = static_cast<quint8>(uniform(rng, 0, 255));
        if (b != start)
            g.append(static_cast<char>(b));
    }
    return g;
}

QStringList Noise::names() const {
    QStringList n;
    if (garbage)
        n << u"garbage"_s;
    if (wrongSum)
        n << u"wrong-sum"_s;
    if (brokenFrame)
        n << u"broken-frame"_s;
    if (damagedSecond)
        n << u"damaged-second"_s;
    if (layTwice)
        n << u"lay-twice"_s;
    return n;
}

QByteArray wireBytes(const QByteArray& frame, const Noise& noise, std::mt19937& rng) {
    QByteArray out;
    if (noise.garbage)
        out += garbage(rng);
    if (noise.wrongSum)
        out += clsEcard250FrameReader::scramble(withWrongSum(frame, rng));
    if (noise.brokenFrame)
        out += clsEcard250FrameReader::scramble(frame.left(uniform(rng, 20, 200)));
    out += clsEcard250FrameReader::scramble(frame);
    out += clsEcard250FrameReader::scramble(noise.damagedSecond ? withWrongSum(frame, rng) : frame);
    return out;
}

clsEcardTagData randomCard(std::mt19937& rng) {
    clsEcardTagData tag;
    tag.setEcardNo(uniform(rng, 1, 999999));
    tag.setProductionWeek(uniform(rng, 1, 52));
    tag.setProductionYear(uniform(rng, 1995, 2026));
    tag.setPunch(1, 0, 0);
    const int controls = uniform(rng, 0, 30);
    int t = 0;
    for (int i = 0; i < controls; ++i) {
        t += uniform(rng, 30, 900);
        tag.setPunch(i + 2, uniform(rng, 31, 249), t);
    }
    t += uniform(rng, 5, 120);
    tag.setPunch(controls + 2, 250, t);
    tag.setEmitSystem(u"EMIT 250 SIMULATOR"_s);
    return tag;
}

} // namespace basEcard250Wire
