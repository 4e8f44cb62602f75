#pragma once

// The parts every published page shares: the frame and head, the credit line, the section
// heads of the analysis tables, escaping of texts that come from data files, and the bytes a
// page is written as.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

class clsQuorvelin2;

namespace basHtmlPage {

inline constexpr char16_t Crlf[] = u"\r\n";
inline constexpr char16_t DefaultEncoding[] = u"x-sjis";

// Font styles of the cells: the index page, and the analysis, leg data and chart pages.
inline constexpr char16_t IndexFontStyle[] = u"font-size:10pt; ";
inline constexpr char16_t AnalysisFontStyle[] = u"font-family: 'ＭＳ ゴシック'; font-size: 10pt;";

// A data text made safe for element content and attribute values: & < > " become entities.
QV_EXPORT QString Escape(QStringView text);
// A text in double quotes, escaped, for an attribute value.
QString Quoted(QStringView text);

struct Head {
    QString encoding = QString::fromUtf16(DefaultEncoding);
    bool styleBlock = false;
    QString fontStyle;  // the td rule's font part, when the style block is written
    QString extraStyle; // one more line in the style block, when not empty
    QString linkStyleFile;
    QString title; // a title element, when not empty (escaped)
};

// "<head>" ... "</head>", lines joined by CR LF.
QString head(const clsQuorvelin2& root, const Head& h);
// "<html>", the head, the body tag, the content, "</body>", "</html>", with CR LF between.
QString frame(const QString& headText, const QString& content,
              const QString& bodyTag = QStringLiteral("<body>"));

// The line at the end of the analysis, leg data and chart pages.
QString creditLine(const clsQuorvelin2& root);

// A full-width row of the analysis tables: colour as the platform stores it, in hexadecimal.
QString sectionHead(quint32 colour, int columns, const QString& className, const QString& text);

// The page as the file holds it: Windows-31J, every character the code page lacks written as
// a numeric character reference so that nothing is lost.
QV_EXPORT QByteArray encode(QStringView page);

} // namespace basHtmlPage
