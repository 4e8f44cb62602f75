// The peer link's framing without sockets: the reader against an independent UTF-16LE
// encoder, arrivals split anywhere, the odd byte, the cap and the markers.
#include "basPeerMessage.h"
#include "clsPeerMessageReader.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include <vector>

using namespace Qt::StringLiterals;
using basPeerMessage::Message;

namespace {

QByteArray utf16le(const QString& text) {
    QStringEncoder enc(QStringConverter::Utf16LE);
    return enc(text);
}

std::vector<Message> readAll(clsPeerMessageReader& reader, const std::vector<QByteArray>& arrivals) {
    std::vector<Message> out;
    for (const QByteArray& a : arrivals) {
        const clsPeerMessageReader::Arrival got = reader.feed(a);
        out.insert(out.end(), got.messages.begin(), got.messages.end());
    }
    return out;
}

std::string show(const std::vector<Message>& messages) {
    QString text;
    for (const Message& m : messages)
        text += u"["_s + m.command + u"|"_s + m.key + u"|"_s + m.data + u"]"_s;
    return text.toStdString();
}

// Three messages with characters beyond ASCII, one of them a surrogate pair.
const QString Stream =
    u"SetClientInfo/mk2od/ComputerName/mk2od/受付１/mk2cd/"
    u"RequestData/mk2od/0/mk2od/7/mk2rd/FolderNameData/mk2rd/401001,山田 太郎,𠮷野OL/mk2rd/-1/mk2cd/"
    u"KeepConnect/mk2od//mk2od//mk2cd/"_s;
const std::vector<Message> StreamMessages = {
    {u"SetClientInfo"_s, u"ComputerName"_s, u"受付１"_s},
    {u"RequestData"_s, u"0"_s, u"7/mk2rd/FolderNameData/mk2rd/401001,山田 太郎,𠮷野OL/mk2rd/-1"_s},
    {u"KeepConnect"_s, QString(), QString()},
};

TEST(clsPeerMessageReader, AStreamSplitAtAnyByteGivesTheSameMessages) {
    const QByteArray bytes = utf16le(Stream);
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        clsPeerMessageReader reader;
        EXPECT_EQ(readAll(reader, {bytes.left(cut), bytes.mid(cut)}), StreamMessages) << "cut at " << cut;
        EXPECT_EQ(reader.bytes(), 0) << "cut at " << cut;
    }
    clsPeerMessageReader reader;
    std::vector<QByteArray> single;
    for (char c : bytes)
        single.push_back(QByteArray(1, c));
    EXPECT_EQ(show(readAll(reader, single)), show(StreamMessages));
}

TEST(clsPeerMessageReader, AnOddByteWaitsForItsOtherHalf) {
    clsPeerMessageReader reader;
    const QByteArray bytes = utf16le(u"A/mk2od/k/mk2od/山/mk2cd/"_s);
    // All but the last byte: the last character is half there and nothing is complete.
    clsPeerMessageReader::Arrival a = reader.feed(bytes.chopped(1));
    EXPECT_FALSE(a.arrived);
    EXPECT_TRUE(a.messages.empty());
    EXPECT_EQ(a.buffered, bytes.size() - 1);
    EXPECT_EQ(reader.bytes(), bytes.size() - 1);
    a = reader.feed(bytes.right(1));
    EXPECT_TRUE(a.arrived);
    EXPECT_EQ(a.buffered, bytes.size()) << "what was held before the taking";
    ASSERT_EQ(a.messages.size(), 1u);
    EXPECT_EQ(a.messages[0].data, u"山"_s);
    EXPECT_EQ(reader.bytes(), 0);
    // An odd byte left when a peer goes away is gone after clear().
    reader.feed(QByteArray(1, 'X'));
    EXPECT_EQ(reader.bytes(), 1);
    reader.clear();
    EXPECT_EQ(reader.bytes(), 0);
    EXPECT_EQ(readAll(reader, {utf16le(u"B/mk2od//mk2od//mk2cd/"_s)}),
              (std::vector<Message>{{u"B"_s, {}, {}}}));
}

TEST(clsPeerMessageReader, TheCapCountsOnlyWhatStaysBehind) {
    struct Case {
        const char* what;
        qint64 cap;
        QString text;
        bool overflow;
        size_t messages;
    } cases[] = {
        {"an unterminated text at the cap", 40, QString(20, u'x'), false, 0},
        {"an unterminated text beyond the cap", 40, QString(21, u'x'), true, 0},
        {"a long complete message", 40, u"C/mk2od/k/mk2od/"_s + QString(100, u'x') + u"/mk2cd/"_s, false, 1},
        {"complete messages, then a fragment beyond the cap", 40,
         u"C/mk2od/k/mk2od/d/mk2cd/"_s + QString(21, u'x'), true, 1},
        {"the default cap is one mebibyte", clsPeerMessageReader::DefaultMaxBufferBytes,
         QString(512 * 1024, u'x'), false, 0},
    };
    for (const Case& c : cases) {
        clsPeerMessageReader reader;
        reader.setMaxBufferBytes(c.cap);
        const clsPeerMessageReader::Arrival a = reader.feed(utf16le(c.text));
        EXPECT_EQ(a.overflow, c.overflow) << c.what;
        EXPECT_EQ(a.messages.size(), c.messages) << c.what;
    }
    clsPeerMessageReader reader;
    reader.feed(utf16le(QString(512 * 1024, u'x')));
    EXPECT_TRUE(reader.feed(QByteArray(1, 'x')).overflow) << "one byte beyond a mebibyte";
}

TEST(clsPeerMessageReader, MarkersSplitMessagesAndFields) {
    struct Case {
        const char* what;
        QString text;
        bool arrived;
        std::vector<Message> messages;
        qint64 left; // bytes still held
    } cases[] = {
        {"no end marker yet", u"A/mk2od/k/mk2od/d"_s, false, {}, 34},
        {"fewer than three fields are ignored", u"A/mk2od/k/mk2cd/B/mk2cd/"_s, true, {}, 0},
        {"fields beyond the third are ignored",
         u"A/mk2od/k/mk2od/d/mk2od/e/mk2cd/"_s,
         true,
         {{u"A"_s, u"k"_s, u"d"_s}},
         0},
        {"empty pieces between end markers",
         u"/mk2cd//mk2cd/A/mk2od/k/mk2od/d/mk2cd/"_s,
         true,
         {{u"A"_s, u"k"_s, u"d"_s}},
         0},
        {"a fragment after the last end marker waits",
         u"A/mk2od/k/mk2od/d/mk2cd/B/mk2od/"_s,
         true,
         {{u"A"_s, u"k"_s, u"d"_s}},
         16},
        {"a fragment before a message joins its split",
         u"junk/mk2od/xA/mk2od/k/mk2od/d/mk2cd/"_s,
         true,
         {{u"junk"_s, u"xA"_s, u"k"_s}},
         0},
        {"half an end marker is text", u"A/mk2od/k/mk2od/d/mk2c"_s, false, {}, 44},
        // Markers are found from the left: the second "/mk2cd/" shares its first "/" with the
        // end marker before it, so it is text that waits for its own end.
        {"overlapping end markers count once",
         u"A/mk2od/k/mk2od/d/mk2cd/mk2cd/"_s,
         true,
         {{u"A"_s, u"k"_s, u"d"_s}},
         12},
        {"another marker in the data is a field",
         u"A/mk2od/k/mk2od/1/mk2rd/2/mk2cd/"_s,
         true,
         {{u"A"_s, u"k"_s, u"1/mk2rd/2"_s}},
         0},
    };
    for (const Case& c : cases) {
        clsPeerMessageReader reader;
        const clsPeerMessageReader::Arrival a = reader.feed(utf16le(c.text));
        EXPECT_EQ(a.arrived, c.arrived) << c.what;
        EXPECT_EQ(show(a.messages), show(c.messages)) << c.what;
        EXPECT_EQ(reader.bytes(), c.left) << c.what;
    }
}

TEST(basPeerMessage, WriterAndBodiesRoundTrip) {
    EXPECT_EQ(basPeerMessage::encodeMessage(u"AnswerRemoteInfo"_s, u"ComputerName"_s, u"本部𠮷"_s),
              utf16le(u"AnswerRemoteInfo/mk2od/ComputerName/mk2od/本部𠮷/mk2cd/"_s));
    EXPECT_EQ(basPeerMessage::requestBody(42, u"FolderNameData"_s, u"1,a,b"_s),
              u"42/mk2rd/FolderNameData/mk2rd/1,a,b/mk2rd/-1"_s);
    EXPECT_EQ(basPeerMessage::answerBody(-7, u"OK"_s), u"-7/mk2rd/OK"_s);

    struct Case {
        QString body;
        qint32 id;
        QString target, option;
    } requests[] = {
        {u"42/mk2rd/FolderNameData/mk2rd/1,a,b/mk2rd/-1"_s, 42, u"FolderNameData"_s, u"1,a,b"_s},
        {u"12abc/mk2rd/T"_s, 12, u"T"_s, QString()},
        {QString(), 0, QString(), QString()},
    };
    for (const Case& c : requests) {
        const basPeerMessage::Request r = basPeerMessage::parseRequest(c.body);
        EXPECT_EQ(r.id, c.id) << c.body.toStdString();
        EXPECT_EQ(r.target, c.target) << c.body.toStdString();
        EXPECT_EQ(r.option, c.option) << c.body.toStdString();
    }
    const basPeerMessage::Answer a = basPeerMessage::parseAnswer(u"99/mk2rd/OK/mk2rd/extra"_s);
    EXPECT_EQ(a.id, 99);
    EXPECT_EQ(a.answer, u"OK"_s);

    // What the writer sends, the reader takes back.
    clsPeerMessageReader reader;
    const std::vector<Message> sent = {
        {u"RequestData"_s, u"3"_s, basPeerMessage::requestBody(5, u"T"_s, u"山"_s)},
        {u"SetConnect"_s, {}, {}}};
    QByteArray wire;
    for (const Message& m : sent)
        wire += basPeerMessage::encodeMessage(m.command, m.key, m.data);
    EXPECT_EQ(readAll(reader, {wire}), sent);
}

} // namespace
