#include "roster/roster_file.h"
#include "roster/roster_save.h"
#include "test_support.h"

#include <QDir>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(RosterSaveError::Kind)

namespace {

// A text field as the editor writes it: blank-padded to 20 characters.
QString pad(const QString& text) {
    return text.leftJustified(kRosterTextWidth, u' ');
}

QString line(int number, int year, int r3, int r4, const QString& name, int status, const QString& r7 = {},
             const QString& r8 = {}) {
    return QStringLiteral("%1,%2,%3,%4,\"%5\",%6,\"%7\",\"%8\"\n")
        .arg(number)
        .arg(year)
        .arg(r3)
        .arg(r4)
        .arg(pad(name))
        .arg(status)
        .arg(pad(r7), pad(r8));
}

// The family as the editor leaves it; statuses and reserved fields that the editor must carry through.
const QString kFirst = line(1, 2014, 7, 8, QStringLiteral("たろう"), 0, QStringLiteral("よび"));
const QString kSecond = line(2, 2017, 0, 0, QStringLiteral("はなこ"), 2);
const QString kThird = line(3, 1980, 0, -1, QStringLiteral("ちち"), 5, {}, QStringLiteral("ＸＹ"));
const QString kFamily = kFirst + kSecond + kThird;
const QStringList kShownNames = {pad(QStringLiteral("たろう")), pad(QStringLiteral("はなこ")),
                                 pad(QStringLiteral("ちち"))};
const QStringList kShownYears = {QStringLiteral("2014"), QStringLiteral("2017"), QStringLiteral("1980")};

std::vector<RosterRowEdit> edits(const QStringList& names, const QStringList& years) {
    std::vector<RosterRowEdit> rows;
    for (qsizetype i = 0; i < names.size(); ++i)
        rows.push_back({names[i], years[i]});
    return rows;
}

QStringList with(QStringList list, int index, const QString& value) {
    list[index] = value;
    return list;
}

} // namespace

class RosterSaveTest final : public QObject {
    Q_OBJECT
private slots:
    void savesInTheRostersEncoding_data();
    void savesInTheRostersEncoding();
    void refusesAndWritesNothing_data();
    void refusesAndWritesNothing();
};

void RosterSaveTest::savesInTheRostersEncoding_data() {
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QString>("after");

    const auto S = TextEncoding::ShiftJis;
    const auto U = TextEncoding::Utf8;
    QTest::newRow("nothing changed, Shift-JIS: byte for byte")
        << S << kFamily << kShownNames << kShownYears << kFamily;
    QTest::newRow("nothing changed, UTF-8") << U << kFamily << kShownNames << kShownYears << kFamily;
    QTest::newRow("nothing changed, UTF-8 with BOM")
        << TextEncoding::Utf8WithBom << kFamily << kShownNames << kShownYears << kFamily;
    QTest::newRow("full-width blanks are part of the name")
        << S << kFamily << with(kShownNames, 1, QStringLiteral("　じろう")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("　じろう"), 2) + kThird;
    QTest::newRow("a double quote cannot end the field")
        << S << kFamily << with(kShownNames, 1, QStringLiteral("じ\"ろう")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("じ”ろう"), 2) + kThird;
    QTest::newRow("NEC and IBM characters of CP932 are kept")
        << S << kFamily << with(kShownNames, 1, QStringLiteral("①Ⅱ～")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("①Ⅱ～"), 2) + kThird;
    QTest::newRow("a wave dash typed on Linux is written as Windows writes it")
        << S << kFamily << with(kShownNames, 1, QStringLiteral("ゆ\u301Cき")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("ゆ\uFF5Eき"), 2) + kThird;
    QTest::newRow("a wave dash stays one in a UTF-8 roster")
        << U << kFamily << with(kShownNames, 1, QStringLiteral("ゆ\u301Cき")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("ゆ\u301Cき"), 2) + kThird;
    QTest::newRow("pasted control characters are dropped")
        << S << kFamily << with(kShownNames, 1, QStringLiteral("\tじ\r\nろう\x7F\u0085")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("じろう"), 2) + kThird;
    QTest::newRow("an emoji in a UTF-8 roster")
        << U << kFamily << with(kShownNames, 1, QStringLiteral("じろう😀")) << kShownYears
        << kFirst + line(2, 2017, 0, 0, QStringLiteral("じろう😀"), 2) + kThird;

    const QString year2015 = line(2, 2015, 0, 0, QStringLiteral("はなこ"), 2);
    QTest::newRow("year in full-width digits")
        << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("２０１５"))
        << kFirst + year2015 + kThird;
    QTest::newRow("year 2014.6 rounded")
        << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("2014.6"))
        << kFirst + year2015 + kThird;
    QTest::newRow("an empty box saves 0")
        << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("  "))
        << kFirst + line(2, 0, 0, 0, QStringLiteral("はなこ"), 2) + kThird;
    // Years of a Japanese era become the Western year.
    for (const char* typed : {"平成27", "H27", "ｈ２７", "平成 27 年", "㍻27"})
        QTest::addRow("era year %s", typed)
            << S << kFamily << kShownNames << with(kShownYears, 1, QString::fromUtf8(typed))
            << kFirst + year2015 + kThird;
    const QString year2020 = line(2, 2020, 0, 0, QStringLiteral("はなこ"), 2);
    QTest::newRow("era year R2") << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("R2"))
                                 << kFirst + year2020 + kThird;
    QTest::newRow("era year 令和2年")
        << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("令和2年"))
        << kFirst + year2020 + kThird;
    QTest::newRow("first year of an era")
        << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("令和元年"))
        << kFirst + line(2, 2019, 0, 0, QStringLiteral("はなこ"), 2) + kThird;
    QTest::newRow("last year of a closed era")
        << S << kFamily << kShownNames << with(kShownYears, 1, QStringLiteral("S64"))
        << kFirst + line(2, 1989, 0, 0, QStringLiteral("はなこ"), 2) + kThird;

    QTest::newRow("a roster typed by hand comes back in the editor's layout")
        << S << QStringLiteral("1,2014,0,0,\"はると\",0,\"\",\"\"\n2 , 2017 , 0 , 0 , さくら , 0 , , x\n")
        << QStringList{QStringLiteral("はると"), QStringLiteral("さくら")} << QStringList{"2014", "2017"}
        << line(1, 2014, 0, 0, QStringLiteral("はると"), 0) +
               line(2, 2017, 0, 0, QStringLiteral("さくら"), 0, {}, "x");
    const QString fourth =
        line(9, 1975, 1, 2, QStringLiteral("そふ"), 0, QStringLiteral("ａ"), QStringLiteral("ｂ"));
    const QString fifth = line(4000, 2020, 0, 0, QStringLiteral("いぬ"), 9);
    QTest::newRow("entries beyond the three rows written back unchanged")
        << S << kFamily + fourth + fifth << with(kShownNames, 2, QStringLiteral("はは")) << kShownYears
        << kFirst + kSecond + line(3, 1980, 0, -1, QStringLiteral("はは"), 5, {}, QStringLiteral("ＸＹ")) +
               fourth + fifth;
    QTest::newRow("two entries: no third one invented")
        << U << kFirst + kSecond << kShownNames.mid(0, 2) << kShownYears.mid(0, 2) << kFirst + kSecond;
}

void RosterSaveTest::savesInTheRostersEncoding() {
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, before);
    QFETCH(QStringList, names);
    QFETCH(QStringList, years);
    QFETCH(QString, after);
    TempSuite suite;
    suite.writeRoster(before, encoding);
    const QString path = suite.commonFolder() + kRosterFileName;

    RosterSaveError error;
    QVERIFY2(saveRosterEdits(path, edits(names, years), &error), qPrintable(error.message));
    QString crlf = after;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    QCOMPARE(decodeText(readBytes(path), encoding), crlf);
    QCOMPARE(readBytes(path), encodeText(crlf, encoding));
    // The save leaves nothing beside the roster.
    QCOMPARE(QDir(suite.commonFolder()).entryList({QStringLiteral("生徒用名簿*")}, QDir::Files),
             QStringList{kRosterFileName});
}

void RosterSaveTest::refusesAndWritesNothing_data() {
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("before"); // empty: no roster at all
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<RosterSaveError::Kind>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("message");

    const auto S = TextEncoding::ShiftJis;
    QTest::newRow("an emoji in a Shift-JIS roster")
        << S << kFamily << with(kShownNames, 1, QStringLiteral("じろう😀")) << kShownYears
        << RosterSaveError::Kind::NameNotWritable << 2
        << QStringLiteral("2行目の名前に、名簿ファイルに書けない文字「😀」があります。"
                          "その文字を使わずに入力してください。名簿は変更していません。");
    QTest::newRow("a character outside CP932 in the third row")
        << S << kFamily << with(kShownNames, 2, QStringLiteral("𠮷田")) << kShownYears
        << RosterSaveError::Kind::NameNotWritable << 3
        << QStringLiteral("3行目の名前に、名簿ファイルに書けない文字「𠮷」があります。"
                          "その文字を使わずに入力してください。名簿は変更していません。");
    QTest::newRow("a year no program of the suite can store")
        << S << kFamily << kShownNames << with(kShownYears, 0, QStringLiteral("40000"))
        << RosterSaveError::Kind::YearTooLarge << 1
        << QStringLiteral(
               "1行目の生まれた年「40000」は大きすぎます。西暦で入力してください。名簿は変更していません。");
    // Text that names no year refuses the save, naming the row.
    const auto notAYear = [](int row, const QString& typed) {
        return QStringLiteral("%1行目の生まれた年「%2」は年として読めません。"
                              "2015 のような西暦か、平成27 のような和暦で入力してください。"
                              "名簿は変更していません。")
            .arg(row)
            .arg(typed);
    };
    for (const char* typed : {"へいせい", "平成", "平成32", "H0", "2015年生まれ", "20l5", "-5", "X27"})
        QTest::addRow("not a year: %s", typed)
            << S << kFamily << kShownNames << with(kShownYears, 1, QString::fromUtf8(typed))
            << RosterSaveError::Kind::YearNotAYear << 2 << notAYear(2, QString::fromUtf8(typed));
    QTest::newRow("roster gone") << S << QString() << kShownNames << kShownYears
                                 << RosterSaveError::Kind::Unreadable << 0
                                 << QStringLiteral("名簿ファイル（生徒用名簿.txt）を読めません"
                                                   "（ファイルが見つかりません）。名簿は変更していません。");
    QTest::newRow("roster cut short")
        << TextEncoding::Utf8 << kFirst + QStringLiteral("2,2017,0,0,\"はなこ\",0,\"\"\n") << kShownNames
        << kShownYears << RosterSaveError::Kind::Unreadable << 0
        << QStringLiteral("名簿ファイル（生徒用名簿.txt）を読めません"
                          "（ファイルの終わりを越えて読もうとしました）。"
                          "名簿は変更していません。");
}

void RosterSaveTest::refusesAndWritesNothing() {
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, before);
    QFETCH(QStringList, names);
    QFETCH(QStringList, years);
    QFETCH(RosterSaveError::Kind, kind);
    QFETCH(int, row);
    QFETCH(QString, message);
    TempSuite suite;
    if (!before.isEmpty())
        suite.writeRoster(before, encoding);
    const QString path = suite.commonFolder() + kRosterFileName;
    const QByteArray bytes = readBytes(path);

    RosterSaveError error;
    QVERIFY(!saveRosterEdits(path, edits(names, years), &error));
    QCOMPARE(error.kind, kind);
    QCOMPARE(error.row, row);
    QCOMPARE(error.message, message);
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(QFile::exists(path), !before.isEmpty());
    QCOMPARE(QDir(suite.commonFolder()).entryList({QStringLiteral("生徒用名簿*")}, QDir::Files).size(),
             before.isEmpty() ? 0 : 1);
}

QTEST_APPLESS_MAIN(RosterSaveTest)
#include "tst_roster_save.moc"
