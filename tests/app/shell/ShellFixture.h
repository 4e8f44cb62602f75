#pragma once

// A main window on a temporary data folder, with scripted dialogs, settings of its own, and
// a reading-unit byte-stream reader that takes cards as the unit sends them.

#include "ScriptedPrompt.h"
#include "TestFolder.h"
#include "Windows31J.h"
#include "clsEcard250FrameReader.h"
#include "clsMachineSettings.h"
#include "frmMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

// One card as an Ecard.txt line: read at 10:mm:ss on 26/12/08, a start record, the punches
// (code, elapsed seconds) and the reading unit's record 10 s after the last punch.
QString cardLine(qint32 ecardNo, const std::vector<std::pair<int, int>>& punches, int readMinute = 0);
// The punches of a course run in the given total, legs of equal length.
std::vector<std::pair<int, int>> coursePunches(const std::vector<int>& controls, int finishCode,
                                               int totalSeconds);

struct ShellFixture : ::testing::Test {
    TestFolder home;
    TestFolder event;
    ScriptedPrompt prompt;
    std::unique_ptr<clsMachineSettings> settings;
    std::unique_ptr<frmMain> main;
    clsEcard250FrameReader reader;

    // Files of the event before the window opens it; empty texts are not written.
    QString courseTxt = QStringLiteral("M21A,0,31,32,33,100\r\nW21A,0,31,33,100\r\n");
    QString nameCsv = QStringLiteral(
        "Ｅカード番号,名前,所属\r\n401001,山田 太郎,東京OLクラブ\r\n402001,伊藤 花子,みちの会\r\n");
    QString ecardTxt;
    QString otherTxt;
    QString ini = QStringLiteral("テスト大会\r\n2026/12/08\r\n-9\r\n");

    void open();
    void TearDown() override;
    // Lays the card on the unit: the two scrambled copies go through the reader.
    void feed(const QString& line);
    int ecardLines() const;
};
