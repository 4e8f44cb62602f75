// ecard250-sim: behaves like a model-250 reading unit on the wire. Writes every card as two
// scrambled 217-byte frames back to back, at the unit's line rate (9600 baud, 8N2) or faster,
// to a serial device or to a pseudo-terminal it creates (whose path it prints first).
//
// One line per card on standard output: "card <n> <number> <noise> delivered|lost", where
// lost means a reader following the unit's rules cannot take this laying of the card.

#include "basEcard250Wire.h"
#include "basTextFile.h"
#include "clsEcardTagData.h"
#include "clsEventGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

namespace {

// 9600 baud with a start bit, 8 data bits and 2 stop bits: 11 bits a byte.
constexpr double LineRate = 9600.0 / 11.0;

void say(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void complain(const QString& line) {
    std::fputs(("ecard250-sim: "_L1 + line).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

bool setLine(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CRTSCTS);
    t.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

struct Output {
    int fd = -1;
    bool pty = false;

    // On a pseudo-terminal, true once a reader holds the other side open.
    bool readerPresent() const {
        if (!pty)
            return true;
        pollfd p{fd, POLLOUT, 0};
        return poll(&p, 1, 0) >= 0 && !(p.revents & POLLHUP);
    }
    void waitForReader(int settleMs) const {
        if (readerPresent())
            return;
        complain(u"waiting for a reader to open the port"_s);
        while (!readerPresent())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // Give the reader time to set its line up before the first byte.
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    }
    bool write(const QByteArray& bytes, double rate) const {
        const auto start = Clock::now();
        const qsizetype chunk =
            rate > 0 ? std::max<qsizetype>(1, static_cast<qsizetype>(rate / 200)) : bytes.size();
        for (qsizetype at = 0; at < bytes.size();) {
            if (rate > 0) {
                const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(static_cast<double>(at) / rate));
                std::this_thread::sleep_until(due);
            }
            const qsizetype n = std::min(chunk, bytes.size() - at);
            const ssize_t w = ::write(fd, bytes.constData() + at, static_cast<size_t>(n));
            if (w < 0) {
                if (errno == EINTR || errno == EAGAIN) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                return false;
            }
            at += w;
        }
        if (!pty)
            tcdrain(fd);
        return true;
    }
};

bool openPty(Output& out, QString& path) {
    out.fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (out.fd < 0 || grantpt(out.fd) != 0 || unlockpt(out.fd) != 0)
        return false;
    const char* name = ptsname(out.fd);
    if (!name)
        return false;
    path = QString::fromLocal8Bit(name);
    // Raw from the start: bytes written before the reader sets its line must not be cooked.
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        setLine(slave);
        ::close(slave);
    }
    out.pty = true;
    return true;
}

bool openDevice(Output& out, const QString& path) {
    out.fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (out.fd < 0)
        return false;
    if (isatty(out.fd))
        setLine(out.fd);
    return true;
}

bool readCards(const QString& source, QList<clsEcardTagData>& cards) {
    QStringList lines;
    if (source == u"-") {
        QTextStream in(stdin);
        while (!in.atEnd())
            lines << in.readLine();
    } else if (const auto r = basTextFile::readLines(source, &lines); !r) {
        complain(u"cannot read %1: %2"_s.arg(source, r.error));
        return false;
    }
    int lineNo = 0;
    for (const QString& line : lines) {
        ++lineNo;
        if (line.trimmed().isEmpty())
            continue;
        clsEcardTagData tag;
        tag.setRegnlyFormat(line.trimmed());
        if (!tag.IsValid()) {
            complain(u"%1:%2: not a card line, skipped"_s.arg(source).arg(lineNo));
            continue;
        }
        cards << tag;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"ecard250-sim"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVANTO_VERSION));

    QCommandLineParser p;
    p.setApplicationDescription(
        u"Sends E-card frames as a model-250 reading unit does: each card twice, scrambled, at 9600 baud 8N2."_s);
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption device(u"device"_s, u"Write to this serial device (or existing terminal)."_s,
                                    u"path"_s);
    const QCommandLineOption pty(u"pty"_s, u"Create a pseudo-terminal and print its path (the default)."_s);
    const QCommandLineOption cards(
        u"cards"_s,
        u"Cards from Ecard.txt lines in this file ('-': standard input; the generator's output can be piped in)."_s,
        u"file"_s);
    const QCommandLineOption generate(
        u"generate"_s,
        u"Send every laying of a generated event with this many distinct reads (seeded by --seed)."_s,
        u"n"_s);
    const QCommandLineOption random(u"random"_s,
                                    u"Send this many random cards (10 when no cards are given)."_s, u"n"_s);
    const QCommandLineOption rate(u"rate"_s, u"Bytes per second (default: the line rate, 872.7)."_s,
                                  u"bytes"_s);
    const QCommandLineOption fast(u"fast"_s, u"Write as fast as the device takes the bytes."_s);
    const QCommandLineOption gap(u"gap"_s, u"Pause between cards in ms (default 1000)."_s, u"ms"_s,
                                 u"1000"_s);
    const QCommandLineOption settle(
        u"settle"_s, u"Pause after a reader opened the pseudo-terminal, in ms (default 300)."_s, u"ms"_s,
        u"300"_s);
    const QCommandLineOption linger(
        u"linger"_s, u"Keep the output open this long after the last card, in ms (default 1000)."_s, u"ms"_s,
        u"1000"_s);
    const QCommandLineOption seed(u"seed"_s, u"Seed of the random cards and noise."_s, u"n"_s);
    const QCommandLineOption garbageOpt(u"garbage"_s, u"Probability of noise bytes before a card."_s, u"p"_s,
                                        u"0"_s);
    const QCommandLineOption wrongSum(
        u"wrong-sum"_s, u"Probability of an extra copy with a wrong sum ahead of a card."_s, u"p"_s, u"0"_s);
    const QCommandLineOption damaged(
        u"damaged-second"_s,
        u"Probability that a card's second copy carries a wrong sum (the card is lost)."_s, u"p"_s, u"0"_s);
    const QCommandLineOption twice(
        u"lay-twice"_s, u"Probability that a card is laid on the unit a second time."_s, u"p"_s, u"0"_s);
    const QCommandLineOption broken(
        u"broken-frame"_s, u"Probability of an extra copy broken off by two 0xFF bytes ahead of a card."_s,
        u"p"_s, u"0"_s);
    p.addOptions({device, pty, cards, generate, random, rate, fast, gap, settle, linger, seed, garbageOpt,
                  wrongSum, damaged, twice, broken});
    p.process(app);

    auto number = [&](const QCommandLineOption& o, double fallback) {
        if (!p.isSet(o) && o.defaultValues().isEmpty())
            return fallback;
        bool ok = false;
        const double v = p.value(o).toDouble(&ok);
        if (!ok || v < 0) {
            complain(u"--%1 needs a number of 0 or more"_s.arg(o.names().first()));
            std::exit(2);
        }
        return v;
    };

    std::mt19937 rng(p.isSet(seed) ? static_cast<unsigned>(number(seed, 0)) : std::random_device{}());

    QList<clsEcardTagData> list;
    if (p.isSet(cards) && !readCards(p.value(cards), list))
        return 1;
    if (p.isSet(generate)) {
        clsEventGenerator::Options o;
        o.seed = p.isSet(seed) ? static_cast<quint64>(number(seed, 1)) : std::random_device{}();
        o.readCount = std::max(1, static_cast<int>(number(generate, 1)));
        for (const auto& reading : clsEventGenerator(o).generate().readings)
            list << *reading.tag;
    }
    const int randomCount = static_cast<int>(number(random, p.isSet(cards) || p.isSet(generate) ? 0 : 10));
    for (int i = 0; i < randomCount; ++i)
        list << basEcard250Wire::randomCard(rng);

    const double bytesPerSecond = p.isSet(fast) ? 0 : number(rate, LineRate);
    const int gapMs = static_cast<int>(number(gap, 1000));
    const int settleMs = static_cast<int>(number(settle, 300));
    const double probability[] = {number(garbageOpt, 0), number(wrongSum, 0), number(damaged, 0),
                                  number(twice, 0), number(broken, 0)};
    const int lingerMs = static_cast<int>(number(linger, 1000));

    Output out;
    if (p.isSet(device)) {
        if (!openDevice(out, p.value(device))) {
            complain(
                u"cannot open %1: %2"_s.arg(p.value(device), QString::fromLocal8Bit(std::strerror(errno))));
            return 1;
        }
        say(p.value(device));
    } else {
        QString path;
        if (!openPty(out, path)) {
            complain(
                u"cannot create a pseudo-terminal: %1"_s.arg(QString::fromLocal8Bit(std::strerror(errno))));
            return 1;
        }
        say(path);
    }

    auto chance = [&](double pr) { return pr > 0 && std::uniform_real_distribution<double>(0, 1)(rng) < pr; };

    QByteArray lastTaken; // the frame a reader took last: the same content again is not taken
    int n = 0;
    for (const clsEcardTagData& tag : list) {
        ++n;
        const QByteArray frame = basEcard250Wire::frameOf(tag);
        if (const auto why = basEcard250Wire::untransmittable(frame)) {
            complain(u"card %1 (%2) skipped: %3"_s.arg(n).arg(tag.EcardNo()).arg(*why));
            continue;
        }
        basEcard250Wire::Noise noise;
        noise.garbage = chance(probability[0]);
        noise.wrongSum = chance(probability[1]);
        noise.damagedSecond = chance(probability[2]);
        noise.layTwice = chance(probability[3]);
        noise.brokenFrame = chance(probability[4]);

        bool taken = !noise.damagedSecond && frame != lastTaken;
        out.waitForReader(settleMs);
        bool ok = out.write(basEcard250Wire::wireBytes(frame, noise, rng), bytesPerSecond);
        if (ok && noise.layTwice) {
            std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
            basEcard250Wire::Noise again;
            ok = out.write(basEcard250Wire::wireBytes(frame, again, rng), bytesPerSecond);
            // A lost first laying is taken now; a taken one is not taken twice.
            taken = taken || frame != lastTaken;
        }
        if (!ok) {
            complain(u"write failed: %1"_s.arg(QString::fromLocal8Bit(std::strerror(errno))));
            if (!out.pty)
                return 1;
        }
        if (taken)
            lastTaken = frame;
        const QString names = noise.names().join(u',');
        say(u"card %1 %2 %3 %4"_s.arg(n)
                .arg(tag.EcardNo())
                .arg(names.isEmpty() ? u"clean"_s : names, ok && taken ? u"delivered"_s : u"lost"_s));
        if (n < list.size())
            std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    }
    say(u"done %1"_s.arg(n));
    std::this_thread::sleep_for(std::chrono::milliseconds(lingerMs));
    ::close(out.fd);
    return 0;
}
