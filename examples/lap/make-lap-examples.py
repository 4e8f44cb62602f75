#!/usr/bin/env python3
"""Writes the sample event's lap files: a text lap table made here from a fixed seed, then read
and written again by the library (quorvelin2 convert) as .lxm and .lap.

    examples/lap/make-lap-examples.py [BUILD]   (BUILD defaults to build)
"""
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "build")
CLI = os.path.join(BUILD, "tools", "quorvelin2-cli", "quorvelin2")
BASE = "minato-cup-2026"

FAMILY = ["山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村", "小林", "加藤", "吉田", "山本",
          "松本", "井上", "木村", "林", "清水", "山口", "森", "池田", "橋本", "石川", "前田", "藤田"]
MEN = ["太郎", "健一", "一郎", "誠", "大輔", "翔太", "拓也", "直樹", "浩二", "悠真", "亮", "光太郎"]
WOMEN = ["花子", "美咲", "由美", "陽子", "彩", "千尋", "恵", "真由美", "さくら", "葵", "優子", "奈々"]
CLUBS = ["東京OLクラブ", "京葉OLクラブ", "みちの会", "大阪OLC", "ときわ走林会", "横浜OLクラブ",
         "練馬OLC", "筑波大学OLC", "名古屋OLC", "ES関東クラブ"]

# class, sex, controls, length (m), climb (m), runners, course number, pace (s per 100 m)
CLASSES = [
    ("M21A", "M", 14, 6200, 240, 18, 1, 48),
    ("W21A", "F", 11, 4600, 170, 12, 2, 56),
    ("M45A", "M", 11, 4800, 180, 10, 3, 58),
    ("初級", "", 6, 2300, 60, 8, 4, 95),
]


def hms(seconds):
    return "%02d:%02d:%02d" % (seconds // 3600, seconds // 60 % 60, seconds % 60)


def leg_label(controls, i):
    def number(n):
        return "".join(chr(ord(d) + 0xFEE0) for d in str(n)) if n < 10 else str(n)
    start = "△" if i == 1 else number(i - 1)
    end = "◎" if i == controls + 1 else number(i)
    return start + "→" + end


def runners(rng, name, sex, controls, length, pace, count, used):
    legs = controls + 1
    # Leg lengths: uneven, the last one to the finish short.
    weights = [rng.uniform(0.6, 1.6) for _ in range(controls)] + [0.25]
    reference = [length / 100 * pace * w / sum(weights) for w in weights]
    rows = []
    for k in range(count):
        while True:
            given = (WOMEN if sex == "F" else MEN if sex == "M" else rng.choice([MEN, WOMEN]))
            runner = rng.choice(FAMILY) + " " + rng.choice(given)
            if runner not in used:
                used.add(runner)
                break
        ability = rng.lognormvariate(0.0, 0.15)
        times = []
        for i in range(legs):
            t = reference[i] * ability * rng.uniform(0.93, 1.07)
            if rng.random() < 0.12:  # a mistake on this leg
                t += reference[i] * rng.uniform(0.2, 1.5)
            times.append(max(8, round(t)))
        status = ""
        legs_text = [hms(t) for t in times]
        # The first runners of some classes carry the faults a real finish sees.
        if name == "M21A" and k == 4:
            legs_text[6] = "→"  # the unit of control 7 did not record: leg 8 covers both
            times[7] += times[6]
            legs_text[7] = hms(times[7])
            times[6] = 0
        if name == "W21A" and k == 3:
            legs_text[4] = "→"
            times[5] += times[4]
            legs_text[5] = hms(times[5])
            times[4] = 0
        if name == "M21A" and k == 9:
            legs_text[9] = "×"  # control 10 not punched
            status = "MP"
        if name == "M45A" and k == 6:
            legs_text[3] = "×"
            status = "MP"
        if name == "W21A" and k == 10:
            legs_text = legs_text[:7]  # gave up after control 7
            status = "DNF"
        total = sum(times)
        rows.append({"name": runner, "club": rng.choice(CLUBS), "sex": "女" if sex == "F" or
                     (sex == "" and given is WOMEN) else "男", "result": status or hms(total),
                     "key": (1 if status else 0, total), "legs": legs_text,
                     "start": hms(10 * 3600 + rng.randrange(0, 90) * 60)})
    rows.sort(key=lambda r: r["key"])
    rank = 0
    for position, r in enumerate(rows, 1):
        if not r["result"].startswith(("M", "D")):
            rank = position
            r["rank"] = str(rank)
        else:
            r["rank"] = ""
    return rows


def main():
    rng = random.Random(20261115)
    lines = ["$LAPFILE Ver=2", "$LAPFILE Rev=3", "$名称=第12回 みなと杯オリエンテーリング大会",
             "$日時=2026/11/15", "$場所=みなと山公園", "$備考=サンプルデータ（架空の大会）", "$公式サイト=",
             "$ファイル名キーワード=minato2026"]
    for name, _, controls, length, climb, _, course, _ in CLASSES:
        lines += ["$距離:%s=%d" % (name, length), "$登距離:%s=%d" % (name, climb),
                  "$コントロール数:%s=%d" % (name, controls), "$コース番号:%s=%d" % (name, course)]
    used = set()
    for name, sex, controls, length, _, count, _, pace in CLASSES:
        lines.append("")
        lines.append(",".join(["クラス", "名前", "所属", "シード", "性別", "スタート時刻", "総タイム", "順位"] +
                              [leg_label(controls, i) for i in range(1, controls + 2)]))
        for r in runners(rng, name, sex, controls, length, pace, count, used):
            legs = r["legs"] + ["n/a"] * (controls + 1 - len(r["legs"]))
            lines.append(",".join([name, r["name"], r["club"], "", r["sex"], r["start"], r["result"], r["rank"]]
                                  + legs))
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "source.lap")
        with open(source, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
        for ext in ("lxm", "lap"):
            subprocess.run([CLI, "convert", source, os.path.join(HERE, BASE + "." + ext)], check=True)


if __name__ == "__main__":
    main()
