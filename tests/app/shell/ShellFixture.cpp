#include "ShellFixture.h"

#include "basEcard250Wire.h"
#include "basTextFile.h"
#include "ctlDataFolder.h"
#include "ctlEcard250Reader.h"

#include <QDir>

#include <random>

using namespace Qt::StringLiterals;

namespace {

QString hms(int seconds) {
    return u"%1:%2:%3"_s.arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

} // namespace

QString cardLine(qint32 ecardNo, const std::vector<std::pair<int, int>>& punches, int readMinute) {
    QString line =
        u"26/12/08 10:%1:00, Card No. (%2), (2019,Week 23), 0, 00:00:00"_s.arg(readMinute, 2, 10, QChar(u'0'))
            .arg(ecardNo);
    int last = 0;
    for (const auto& [code, seconds] : punches) {
        line += u", %1, %2"_s.arg(code).arg(hms(seconds));
        last = seconds;
    }
    return line + u", 250, "_s + hms(last + 10);
}

std::vector<std::pair<int, int>> coursePunches(const std::vector<int>& controls, int finishCode,
                                               int totalSeconds) {
    std::vector<std::pair<int, int>> punches;
    const int legs = static_cast<int>(controls.size()) + 1;
    for (int i = 0; i < static_cast<int>(controls.size()); ++i)
        punches.push_back({controls[static_cast<size_t>(i)], totalSeconds * (i + 1) / legs});
    punches.push_back({finishCode, totalSeconds});
    return punches;
}

void ShellFixture::open() {
    const auto put = [&](const QString& name, const QString& text) {
        if (!text.isEmpty())
            event.write(name, sjis(text));
    };
    put(u"Course.txt"_s, courseTxt);
    put(u"Name.csv"_s, nameCsv);
    put(u"Ecard.txt"_s, ecardTxt);
    put(u"Other.txt"_s, otherTxt);
    put(u"Brevanto2.ini"_s, ini);
    settings = std::make_unique<clsMachineSettings>(home.file(u"machine.conf"_s));
    QDir().mkpath(home.file(u"app"_s));
    main = std::make_unique<frmMain>(&prompt, settings.get(), home.file(u"app"_s));
    main->setPeerPort(0);
    // Cards come through the reader below, never from a real serial port of the machine.
    if (main->ReaderPanel())
        main->ReaderPanel()->setDevicePath(home.file(u"no-such-port"_s));
    main->attachReader(&reader);
    ASSERT_TRUE(main->DataFolderControl()->SelectFolder(event.path() + u"/"_s));
}

void ShellFixture::TearDown() {
    main.reset();
}

void ShellFixture::feed(const QString& line) {
    clsEcardTagData tag;
    tag.setRegnlyFormat(line);
    ASSERT_TRUE(tag.IsValid()) << line.toStdString();
    std::mt19937 rng(1);
    reader.feed(basEcard250Wire::wireBytes(basEcard250Wire::frameOf(tag), {}, rng));
}

int ShellFixture::ecardLines() const {
    QStringList lines;
    if (!basTextFile::readLines(event.file(u"Ecard.txt"_s), &lines))
        return 0;
    return static_cast<int>(lines.size());
}
