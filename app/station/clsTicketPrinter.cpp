#include "clsTicketPrinter.h"

#include "clsMachineSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

clsTicketPrinter::PrinterMaker& printerMaker() {
    static clsTicketPrinter::PrinterMaker maker;
    return maker;
}

// The printable part of the roll: 72 mm of 80, 48 mm of 58.
double marginMm(clsLapTicket::Paper paper) {
    return paper == clsLapTicket::Paper::Roll58 ? 5.0 : 4.0;
}
// Paper fed beyond the last line, so that the tear leaves the read time on the ticket.
constexpr double TearMm = 8.0;

const QString FailedPrefix = u"ラップ票を印刷できません: "_s;

} // namespace

void clsTicketPrinter::setPrinterMaker(PrinterMaker maker) {
    printerMaker() = std::move(maker);
}

bool clsTicketPrinter::canPrint() {
    return bool(printerMaker());
}

clsTicketPrinter::clsTicketPrinter(QObject* parent) : QObject(parent) {}

clsTicketPrinter::~clsTicketPrinter() = default;

void clsTicketPrinter::readSettings(const clsMachineSettings& settings) {
    const QString printer = settings.value(clsMachineSettings::LapTicketPrinterValue);
    if (printer.isEmpty())
        setFolder(settings.value(clsMachineSettings::LapTicketFolderValue));
    else
        setPrinter(printer);
    m_paper = clsLapTicket::paperOf(settings.value(clsMachineSettings::LapTicketPaperValue));
    m_enabled = settings.value(clsMachineSettings::PrintLapTicketValue) == u"True"_s;
}

void clsTicketPrinter::setPrinter(const QString& name) {
    m_target = name.isEmpty() ? Target::None : Target::Printer;
    m_destination = name;
    m_failing = false;
}

void clsTicketPrinter::setFolder(const QString& folder) {
    m_target = folder.isEmpty() ? Target::None : Target::Folder;
    m_destination = folder;
    m_failing = false;
}

bool clsTicketPrinter::afterRead(const clsFinishStation& station, const clsFinishStation::ReadOutcome& read,
                                 const QString& eventName, double eventDate) {
    if (!m_enabled || read.hasRead || !read.stored)
        return false;
    // Made now, so that the ranks are those of this moment; painted later.
    std::optional<clsLapTicket> ticket = clsLapTicket::make(station, read.tag, eventName, eventDate);
    if (!ticket)
        return false;
    enqueue(std::move(*ticket));
    return true;
}

void clsTicketPrinter::enqueue(clsLapTicket ticket) {
    m_queue.push_back(std::move(ticket));
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &clsTicketPrinter::flush);
}

void clsTicketPrinter::flush() {
    m_scheduled = false;
    while (!m_queue.empty()) {
        const clsLapTicket ticket = std::move(m_queue.front());
        m_queue.pop_front();
        QString error;
        if (print(ticket, &error)) {
            m_failing = false;
            continue;
        }
        if (!m_failing) {
            m_failing = true;
            emit failed(error);
        }
    }
}

QString clsTicketPrinter::freePath(const clsLapTicket& ticket) const {
    const QDir dir(m_destination);
    const QString name = ticket.fileName();
    QString path = dir.filePath(name);
    // A reprint keeps the first ticket and goes beside it.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QFileInfo(name).completeBaseName() + u"-%1.pdf"_s.arg(n));
    return path;
}

bool clsTicketPrinter::print(const clsLapTicket& ticket, QString* error) {
    QList<int> bold;
    const QStringList lines = ticket.lines(m_paper, &bold);
    QString why;
    QString where;
    bool done = false;
    switch (m_target) {
    case Target::None:
        why = u"印刷先が選ばれていません"_s;
        break;
    case Target::Folder:
        if (!QFileInfo(m_destination).isDir()) {
            why = u"フォルダがありません: "_s + QDir::toNativeSeparators(m_destination);
            break;
        }
        where = freePath(ticket);
        done = writePdf(lines, m_paper, where, &why, bold);
        break;
    case Target::Printer: {
        if (!canPrint()) {
            why = u"このプログラムはプリンタに印刷できません (フォルダを選んでください)"_s;
            break;
        }
        std::unique_ptr<QPagedPaintDevice> device =
            printerMaker()(m_destination, QFileInfo(ticket.fileName()).completeBaseName(), &why);
        where = m_destination;
        done = device && paint(lines, m_paper, *device, &why, bold);
        break;
    }
    }
    if (!done) {
        if (error)
            *error = FailedPrefix + why;
        return false;
    }
    emit printed(where);
    return true;
}

bool clsTicketPrinter::paint(const QStringList& lines, clsLapTicket::Paper paper, QPagedPaintDevice& device,
                             QString* error, const QList<int>& bold) {
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return fail(u"文字を描けません (GUI アプリケーションがありません)"_s);
    const double paperMm = static_cast<int>(paper);
    const double margin = marginMm(paper);
    const double pxPerMm = device.logicalDpiX() / 25.4;
    const double printable = (paperMm - 2 * margin) * pxPerMm;
    const int bytes = clsLapTicket::widthOf(paper);

    // A half-width character is half an em in this font: the line's bytes fill the printable
    // width; the measured advance then corrects for a font that runs wider.
    QFont font(u"Noto Sans Mono CJK JP"_s);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    int pixels = static_cast<int>(std::floor(printable / (bytes / 2.0)));
    font.setPixelSize(std::max(1, pixels));
    const double advance = QFontMetricsF(font, &device).horizontalAdvance(u'0');
    if (advance * bytes > printable) {
        pixels = static_cast<int>(std::floor(pixels * printable / (advance * bytes)));
        font.setPixelSize(std::max(1, pixels));
    }
    const QFontMetricsF metrics(font, &device);
    const double heightMm = 2 * margin + TearMm + lines.size() * metrics.lineSpacing() / pxPerMm;
    const QPageLayout layout(QPageSize(QSizeF(paperMm, heightMm), QPageSize::Millimeter,
                                       u"Roll %1mm"_s.arg(paperMm), QPageSize::ExactMatch),
                             QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!device.setPageLayout(layout))
        device.setPageSize(layout.pageSize());

    QPainter painter;
    if (!painter.begin(&device))
        return fail(u"印刷を始められません"_s);
    QFont strong = font;
    strong.setBold(true);
    painter.setPen(Qt::black);
    const double x = margin * pxPerMm;
    double y = margin * pxPerMm + metrics.ascent();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.setFont(bold.contains(static_cast<int>(i)) ? strong : font);
        painter.drawText(QPointF(x, y), lines[i]);
        y += metrics.lineSpacing();
    }
    if (!painter.end())
        return fail(u"印刷を終えられません"_s);
    return true;
}

bool clsTicketPrinter::writePdf(const QStringList& lines, clsLapTicket::Paper paper, const QString& path,
                                QString* error, const QList<int>& bold) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QDir::toNativeSeparators(path) + u" ("_s + file.errorString() + u')';
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(600);
        pdf.setTitle(QFileInfo(path).completeBaseName());
        pdf.setCreator(u"BREVANTO"_s);
        if (!paint(lines, paper, pdf, error, bold)) {
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = QDir::toNativeSeparators(path) + u" ("_s + file.errorString() + u')';
        return false;
    }
    return true;
}
