#pragma once

// Synthetic events, the same for the same seed: a course table, card reads with the faults of
// a real finish (mispunches, missed and extra punches, punches out of order, missing start or
// finish records, cards read twice), runner names, per-read data and typed results, and the
// data folder that holds them. Used by benchmarks, tests, the demo and the reading-unit
// simulator.

#include "basTextFile.h"
#include "clsEcardTagData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class clsEventGenerator {
public:
    struct Options {
        quint64 seed = 1;
        int readCount = 2000; // distinct card contents, as the card store will hold them
        int classCount = 50;
        int minControls = 5;
        int maxControls = 50;
        int averageControls = 25;
        int controlPool = 120;      // distinct control codes of the event
        double missRate = 0.002;    // a control not punched
        double wrongRate = 0.001;   // a control of another code punched instead
        double extraRate = 0.02;    // an extra punch before a control
        double swapRate = 0.001;    // two controls punched in the wrong order
        double retireRate = 0.02;   // the runner gave up: no later controls, no finish
        double noFinishRate = 0.01; // the finish not punched
        double noStartRate = 0.005; // the card's start record missing
        double repeatRate = 0.05;   // the same card content read again later
        double rereadRate = 0.01;   // a card read again after one more punch (a new content)
        double unnamedRate = 0.05;  // a card number without a name record
        double specificRate = 0.02; // reads with per-read data in Other.txt
        int typedResults = 20;      // hand-typed results in Other.txt
        QString eventName = QStringLiteral("第１回テスト大会");
        int year = 2024, month = 6, day = 2;
        qint32 penacheckRule = -9;
    };

    struct Reading {
        std::shared_ptr<clsEcardTagData> tag;
        bool repeat = false; // the same content as an earlier reading
    };

    struct Event {
        QString eventName;
        double eventDate = 0;
        qint32 penacheckRule = -9;
        QStringList courseLines;       // Course.txt, one class a line
        std::vector<Reading> readings; // every laying of a card on the unit, in read order
        QStringList nameLines;         // Name.csv with its header
        QStringList otherLines;        // Other.txt
        // The distinct reads in read order (what Ecard.txt and the card store hold).
        std::vector<std::shared_ptr<clsEcardTagData>> storedReads() const;
        QStringList ecardLines() const; // Ecard.txt
        QStringList iniLines() const;   // Brevanto2.ini
    };

    explicit clsEventGenerator(Options options);
    explicit clsEventGenerator(quint64 seed);

    Event generate();

    // Writes Name.csv, Ecard.txt, Course.txt, Other.txt and Brevanto2.ini into a folder (which
    // must exist). Stops at the first file that fails.
    static basTextFile::Result writeDataFolder(const Event& event, const QString& folder);

    // The unscrambled 217-byte frame that decodes into this record: number, week, year byte,
    // the 50 records, the card text and display lines in the system code page (cut or padded
    // with blanks), and both check sums set.
    static QByteArray encodeFrame(const clsEcardTagData& tag);

private:
    quint64 next();
    int pick(int lo, int hi); // both ends included
    bool chance(double p);
    int controlCount();
    QString className(int index) const;
    QString runnerName();
    QString clubName();

    Options m_options;
    quint64 m_state;
};
