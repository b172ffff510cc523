#include "sound/sound_table.h"
#include "test_support.h"

#include <QTest>

using namespace warizan;

Q_DECLARE_METATYPE(warizan::TextEncoding)

class SoundTableTest final : public QObject {
    Q_OBJECT
private slots:
    void readsGroups_data();
    void readsGroups();
    void missingFileNamesEveryEventAndFails();
};

void SoundTableTest::readsGroups_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("names"); // rows 1..20 of the column, empty rows left out at the end
    QTest::addColumn<QString>("count");

    QString overfull = QStringLiteral("正解音2\n");
    QStringList twenty;
    for (int i = 1; i <= 20; ++i) {
        twenty << QStringLiteral("f%1").arg(i);
        overfull += twenty.back() + u'\n';
    }
    struct Row {
        const char* name;
        QString text;
        int column;
        QStringList names;
        QString count;
    };
    const Row rows[] = {
        {"one per line",
         QStringLiteral("正解音2\nseikai1\nseikai2\n*\n"),
         kCorrect2,
         {u"seikai1"_qs, u"seikai2"_qs},
         u"2"_qs},
        {"commas and quotes",
         QStringLiteral("\"不合格音1\",\"a b\",c,\"*\""),
         kFail1,
         {u"a b"_qs, u"c"_qs},
         u"2"_qs},
        {"star alone", QStringLiteral("間違い音2\n*\n"), kWrong2, {}, u"0"_qs},
        {"unlisted event", QStringLiteral("正解音2\nx\n*\n"), kWrong2, {}, QString()},
        {"field naming no event is skipped",
         QStringLiteral("雑音\n*\n自己最高音2\nj\n*\n"),
         kPersonal2,
         {u"j"_qs},
         u"1"_qs},
        {"listed twice overwrites",
         QStringLiteral("正解音2\na\nb\nc\n*\n正解音2\nz\n*\n"),
         kCorrect2,
         {u"z"_qs, u"b"_qs, u"c"_qs},
         u"1"_qs},
        {"more than 20: first 20 kept, no count", overfull + QStringLiteral("間違い音2\nw\n*\n"), kCorrect2,
         twenty, QString()},
        {"more than 20: the 21st is read as an event",
         overfull + QStringLiteral("間違い音2\nw\n*\n"),
         kWrong2,
         {u"w"_qs},
         u"1"_qs},
        {"group cut by the end of the file", QStringLiteral("正解音2\na\n"), kCorrect2, {u"a"_qs}, QString()},
    };
    for (const Row& row : rows) {
        for (const auto& [label, encoding] :
             {std::pair{"Shift-JIS", TextEncoding::ShiftJis}, std::pair{"UTF-8", TextEncoding::Utf8},
              std::pair{"UTF-8 BOM", TextEncoding::Utf8WithBom}})
            QTest::addRow("%s, %s", row.name, label)
                << row.text << encoding << row.column << row.names << row.count;
    }
}

void SoundTableTest::readsGroups() {
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(int, column);
    QFETCH(QStringList, names);
    QFETCH(QString, count);

    test::TempSuite suite;
    test::writeTextFile(suite.soundFolder() + kSoundTableFileName, text, encoding);
    SoundState sound;
    QString error;
    QVERIFY2(loadSoundTable(suite.soundFolder() + kSoundTableFileName, sound, &error), qPrintable(error));

    QStringList stored;
    for (int row = 1; row <= kSoundFilesPerEvent; ++row)
        stored << sound.soundTable[column][row];
    while (!stored.isEmpty() && stored.back().isEmpty())
        stored.removeLast();
    QCOMPARE(stored, names);
    QCOMPARE(sound.soundTable[column][kSoundCountRow], count);
    QCOMPARE(soundFileCount(sound, column), count.toInt());
    QCOMPARE(sound.soundTable[column][0], soundEventName(column));
}

void SoundTableTest::missingFileNamesEveryEventAndFails() {
    SoundState sound;
    QString error;
    QVERIFY(!loadSoundTable(QStringLiteral("/nonexistent/新音ファイル.txt"), sound, &error));
    QVERIFY(error.contains(kSoundTableFileName));
    QCOMPARE(sound.soundTable[kCorrect2][0], u"正解音2"_qs);
    QCOMPARE(sound.soundTable[kFail1][0], u"不合格音1"_qs);
    QCOMPARE(soundFileCount(sound, kCorrect2), 0);
}

QTEST_GUILESS_MAIN(SoundTableTest)
#include "tst_sound_table.moc"
