#pragma once

// The library's enumerations. They live in a meta-object namespace so that hosts can read every
// constant by name at run time (Quorvelin2::staticMetaObject).

#include "Quorvelin2Global.h"

#include <QObject>

namespace Quorvelin2 {
Q_NAMESPACE_EXPORT(QV_EXPORT)

enum LapTimeConst : qint32 {
    QV_TIME_DISQ = -2,
    QV_TIME_SKIP = -1,
    QV_TIME_NODATA = 0,
};
Q_ENUM_NS(LapTimeConst)
// The same codes as the day values they stand among (a double compared with an enumeration is
// deprecated).
inline constexpr double TimeDisq = QV_TIME_DISQ;
inline constexpr double TimeSkip = QV_TIME_SKIP;

enum QvLapFileTypeConst : qint32 {
    QV_FILETYPE_AUTODETECT = 0,
    QV_FILETYPE_UNKNOWN = 1,
    QV_FILETYPE_QUORVELIN2 = 2,
    QV_FILETYPE_QUORVELIN1 = 3,
    QV_FILETYPE_SPORTIDENT = 4,
    QV_FILETYPE_OEVENT = 5,
    QV_FILETYPE_IMPORT_ONLY = 6,
    QV_FILETYPE_IOF_XML_20_RESULT = 7,
};
Q_ENUM_NS(QvLapFileTypeConst)

// The low twelve bits select the matching, the higher bits are flags.
enum QvLapFileLoadModeCosnt : qint32 {
    QV_LOADMODE_NORMAL = 0,
    QV_LOADMODE_APPEND = 1,
    QV_LOADMODE_MERGE_ID = 16,
    QV_LOADMODE_MERGE_NAME = 17,
    QV_LOADMODE_NOTADD_NEWDATA = 4096,
    QV_LOADMODE_PRIORITY_ORIGINAL = 8192,
    QV_LOADMODE_PRIORITY_NEWDATA = 16384,
};
Q_ENUM_NS(QvLapFileLoadModeCosnt)

inline constexpr qint32 LoadModeMatchMask = 0xFFF;

enum QvLapFileSaveModeCosnt : qint32 {
    QV_SAVEMODE_NORMAL = 0,
    QV_SAVEMODE_FULL = 1,
};
Q_ENUM_NS(QvLapFileSaveModeCosnt)

enum QvChartModeConst : qint32 {
    QV_CHART_NORMAL = 0,
    QV_CHART_REALTIME = 1,
    QV_CHART_RELATIVE = 2,
    QV_CHART_RELATIVE_110 = 3,
    QV_CHART_RELATIVE_130 = 4,
    QV_CHART_CRUISE_MISSRATE = 5,
    QV_CHART_CRUISE_HALFRATIO = 6,
    QV_CHART_BOSTRIME = 7,
};
Q_ENUM_NS(QvChartModeConst)

enum QvPrintAnalysisModeConst : qint32 {
    QV_PRINT_ANALYSIS_STANDARD = 0,
    QV_PRINT_ANALYSIS_LAPTIME = 1,
    QV_PRINT_ANALYSIS_SPLITTIME = 2,
};
Q_ENUM_NS(QvPrintAnalysisModeConst)

enum QvAlignTypeConst : qint32 {
    QV_ALIGN_CENTER = 0,
    QV_ALIGN_RIGHT = 1,
    QV_ALIGN_LEFT = 2,
};
Q_ENUM_NS(QvAlignTypeConst)

enum QvColorTypeConst : qint32 {
    QV_COLOR_NAME = 0,
    QV_COLOR_NAME_TITLE = 1,
    QV_COLOR_RESULT = 2,
    QV_COLOR_RESULT_TITLE = 3,
    QV_COLOR_LAP = 4,
    QV_COLOR_LAP_TITLE = 5,
    QV_COLOR_SPLIT = 6,
    QV_COLOR_SPLIT_TITLE = 7,
    QV_COLOR_RELATIVE = 8,
    QV_COLOR_RELATIVE_TITLE = 9,
    QV_COLOR_MISS = 10,
    QV_COLOR_MISS_TITLE = 11,
    QV_COLOR_CRUISE_MISSRATE = 12,
    QV_COLOR_CRUISE_MISSRATE_TITLE = 13,
    QV_COLOR_MISSTOTAL = 14,
    QV_COLOR_MISSTOTAL_TITLE = 15,
    QV_COLOR_RELATIVETOTAL = 16,
    QV_COLOR_RELATIVETOTAL_TITLE = 17,
    QV_COLOR_NOMISS = 18,
    QV_COLOR_NOMISS_TITLE = 19,
    QV_COLOR_RANK1 = 20,
    QV_COLOR_RANK2 = 21,
    QV_COLOR_RANK3 = 22,
};
Q_ENUM_NS(QvColorTypeConst)

enum PrintBookAlignConst : qint32 {
    PRINTBOOK_ALIGN_LEFT = 0,
    PRINTBOOK_ALIGN_CENTER = 1,
    PRINTBOOK_ALIGN_RIGHT = 2,
};
Q_ENUM_NS(PrintBookAlignConst)

enum PrintBookValignConst : qint32 {
    PRINTBOOK_VALIGN_TOP = 0,
    PRINTBOOK_VALIGN_MIDDLE = 1,
    PRINTBOOK_VALIGN_BOTTOM = 2,
};
Q_ENUM_NS(PrintBookValignConst)

enum QvConfigFolderConst : qint32 {
    QV_CONFIG_FOLDER_SYSTEM = 0,
    QV_CONFIG_FOLDER_DATA = 1,
};
Q_ENUM_NS(QvConfigFolderConst)

} // namespace Quorvelin2
