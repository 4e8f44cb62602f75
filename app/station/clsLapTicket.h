#pragma once

// The slip a runner takes home from the finish: the event, the card and runner, each result of
// the read with its rank at that moment, then the legs of the first result with a card read
// (leg time, split time, the leg's rank in that class so far) and the read time. Plain text
// lines laid out in Windows-31J bytes for the roll printer's fixed-width font.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class clsEcardPenaChecker;
class clsEcardTagData;
class clsFinishStation;
class clsResultData;
class clsResultManager;

class clsLapTicket final {
public:
    // Roll widths: 80 mm paper prints 48 bytes a line, 58 mm paper 32 (the usual 12-dot
    // columns of such printers on 72 mm and 48 mm of printable width).
    enum class Paper { Roll58 = 58, Roll80 = 80 };
    static constexpr int widthOf(Paper paper) { return paper == Paper::Roll58 ? 32 : 48; }
    // "58" or "80" (anything else is 80 mm).
    static Paper paperOf(const QString& text);

    struct ResultLine {
        QString className;
        QString result;
        QString rank;
    };
    struct LegLine {
        QString label;
        std::optional<qint64> legSeconds;   // none: the control was missed
        std::optional<qint64> splitSeconds; // none: the control was missed
        int rank = 0;                       // 0: not comparable (missed, or after a miss)
    };

    QString eventName;
    double eventDate = 0; // 0: not set
    qint32 ecardNo = 0;
    bool hasName = false;
    QString runnerName;
    QString clubName;
    std::vector<ResultLine> results;
    QString legClass; // the class whose legs follow
    std::vector<LegLine> legs;
    double readTime = 0;

    // The ticket of a stored read as the station holds it now; nothing when the read has no
    // results.
    static std::optional<clsLapTicket> make(const clsFinishStation& station,
                                            const std::shared_ptr<clsEcardTagData>& tag,
                                            const QString& eventName, double eventDate);
    // The legs of one checked result ranked among the card results of its class list.
    static std::vector<LegLine> legsOf(const clsResultData& result, const clsResultManager& manager);

    // The ticket as lines, each exactly widthOf(paper) bytes wide; bold takes the lines to
    // print in bold (the event and the runner).
    QStringList lines(Paper paper, QList<int>* bold = nullptr) const;
    // A file name for the ticket's PDF: "ticket-<card>-<yyyymmdd-hhnnss>.pdf".
    QString fileName() const;
};
