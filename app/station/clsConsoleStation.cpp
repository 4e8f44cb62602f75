#include "clsConsoleStation.h"

#include "UserPrompt.h"
#include "basPath.h"
#include "basResultText.h"
#include "clsEcard250FrameReader.h"
#include "clsEcardTagStock.h"
#include "clsEventSettingFile.h"
#include "clsFinishStation.h"
#include "clsNameDataTable.h"
#include "ctlSimpleNetwork.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPort>

using namespace Qt::StringLiterals;

clsConsoleStation::clsConsoleStation(UserPrompt* prompt, FILE* out, QObject* parent)
    : QObject(parent), m_prompt(prompt), m_out(out), m_station(new clsFinishStation(prompt, QString(), this)),
      m_reader(new clsEcard250FrameReader(this)) {
    connect(m_reader, &clsEcard250FrameReader::ReadTag, this, &clsConsoleStation::onReadTag);
    connect(m_reader, &clsEcard250FrameReader::Reading, this,
            [this](qint32 no) { print(basResultText::readingText(no)); });
}

clsConsoleStation::~clsConsoleStation() = default;

void clsConsoleStation::print(const QString& text) {
    std::fputs(QString(text).replace(u"\r\n"_s, u"\n"_s).toUtf8().constData(), m_out);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}

bool clsConsoleStation::openFolder(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        m_prompt->message(u"データフォルダがありません: "_s + folder, UserPrompt::Buttons::Ok,
                          UserPrompt::Icon::Critical, QString());
        return false;
    }
    const QString path = basPath::folderOf(QDir(folder).absolutePath() + u'/');
    const clsEventSettingFile ini = clsEventSettingFile::read(path);
    m_station->openFolder(path, ini.PenacheckRule);
    print(ini.EventName + u"  "_s + QDir::toNativeSeparators(path));
    print(basResultText::readCountText(m_station->TagStock()->TagTable().Count()) + u"  "_s +
          basResultText::nameCountText(m_station->NameDataTable()->NameDataTable().Count()));
    return true;
}

bool clsConsoleStation::connectPort(const QString& device) {
    m_port = new QSerialPort(device, this);
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setStopBits(QSerialPort::TwoStop);
    m_port->setReadBufferSize(1024);
    if (!m_port->open(QIODevice::ReadOnly)) {
        m_prompt->message(u"× 接続できません: "_s + device + u" ("_s + m_port->errorString() + u')',
                          UserPrompt::Buttons::Ok, UserPrompt::Icon::Critical, QString());
        return false;
    }
    connect(m_port, &QSerialPort::readyRead, this, [this] { m_reader->feed(m_port->readAll()); });
    print(u"○ 接続しました: "_s + device);
    return true;
}

bool clsConsoleStation::listen(int port) {
    m_network = new ctlSimpleNetwork(this);
    connect(m_network, &ctlSimpleNetwork::DataRequested, this,
            [this](const QString& target, const QString& option, int, QString& answer) {
                answer = m_station->answerRequest(target, option);
                print(target + u": "_s + option + u" -> "_s + (answer.isEmpty() ? u"(none)"_s : answer));
            });
    m_network->StartListen(port);
    if (!m_network->IsListen()) {
        m_prompt->message(u"ポート "_s + QString::number(port) + u" で接続を待ち受けられません"_s,
                          UserPrompt::Buttons::Ok, UserPrompt::Icon::Critical, QString());
        return false;
    }
    print(u"他のパソコンからのコマンドを受け付けています (TCP "_s + QString::number(port) + u')');
    return true;
}

void clsConsoleStation::onReadTag(std::shared_ptr<clsEcardTagData> tag) {
    const clsFinishStation::ReadOutcome out = m_station->readTag(std::move(tag));
    QString text = u"----------------------------------------\r\n"_s + out.nameLabel + u"\r\n"_s;
    if (!out.resultsLabel.isEmpty())
        text += out.resultsLabel;
    if (text.endsWith(u"\r\n"_s))
        text.chop(2);
    print(text);
}
