#include "system_files.h"
#include "test_support.h"
#include "textdata/text_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace warizan;

class TextDataTest final : public QObject {
    Q_OBJECT
private slots:
    void splitsFields_data();
    void splitsFields();
    void readsBothEncodingsAlike_data();
    void readsBothEncodingsAlike();
    void leadingNumber_data();
    void leadingNumber();
    void wholeNumber_data();
    void wholeNumber();
    void writesTheSuitesFormat();
    void writerRoundTripsThroughReader();
    void refusesUnmappableTextAndKeepsOldFile();
    void writesShiftJisAsWindowsDoes_data();
    void writesShiftJisAsWindowsDoes();
    void decodesDamagedShiftJisAlike_data();
    void decodesDamagedShiftJisAlike();
    void cutsShiftJisFieldsAtCharacterBoundary_data();
    void cutsShiftJisFieldsAtCharacterBoundary();
    void reportsMissingFile();
    void refusesUnusableFiles_data();
    void refusesUnusableFiles();
};

void TextDataTest::splitsFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("lines"); // line of each field, and "." where the field ends its line
    QTest::newRow("commas and lines")
        << QStringLiteral("1,2\r\n3\n4\r5") << QStringList{"1", "2", "3", "4", "5"} << "1 1. 2. 3. 4.";
    QTest::newRow("quotes dropped, commas kept inside")
        << QStringLiteral("\"a, b\",\"c\"") << QStringList{"a, b", "c"} << "1 1.";
    QTest::newRow("blanks around unquoted fields dropped")
        << QStringLiteral("  12 ,\t x y  \n") << QStringList{"12", "x y"} << "1 1.";
    QTest::newRow("blanks inside quotes kept")
        << QStringLiteral("\" たろう  \",3") << QStringList{" たろう  ", "3"} << "1 1.";
    QTest::newRow("empty fields between commas")
        << QStringLiteral("1,,3") << QStringList{"1", "", "3"} << "1 1 1.";
    QTest::newRow("comma before line end leaves an empty field")
        << QStringLiteral("1,\r\n2") << QStringList{"1", "", "2"} << "1 1. 2.";
    QTest::newRow("blank lines carry no field")
        << QStringLiteral("1\r\n\r\n  \r\n2\r\n\r\n") << QStringList{"1", "2"} << "1. 4.";
    QTest::newRow("text after closing quote ignored")
        << QStringLiteral("\"ab\"cd,2") << QStringList{"ab", "2"} << "1 1.";
    QTest::newRow("unclosed quote runs to end") << QStringLiteral("\"abc") << QStringList{"abc"} << "1.";
    QTest::newRow("empty quoted field") << QStringLiteral("\"\",1") << QStringList{"", "1"} << "1 1.";
    QTest::newRow("quoted line break counts as a line")
        << QStringLiteral("\"a\r\nb\",1\n2") << QStringList{"a\r\nb", "1", "2"} << "1 2. 3.";
    QTest::newRow("comma ends the file") << QStringLiteral("1,") << QStringList{"1", ""} << "1 1.";
}

void TextDataTest::splitsFields() {
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(QString, lines);
    TextDataReader reader = TextDataReader::fromText(text);
    QCOMPARE(reader.fieldCount(), fields.size());
    QStringList got, where;
    while (!reader.atEnd()) {
        const int next = reader.nextLine();
        got << reader.readText();
        QCOMPARE(reader.lastLine(), next);
        where << QString::number(reader.lastLine()) +
                     (reader.lastEndedLine() ? QStringLiteral(".") : QString());
    }
    QCOMPARE(got, fields);
    QCOMPARE(where.join(u' '), lines);
    QVERIFY(reader.readText().isEmpty()); // past the end
}

void TextDataTest::readsBothEncodingsAlike_data() {
    QTest::addColumn<int>("encoding");
    QTest::newRow("Shift-JIS") << int(TextEncoding::ShiftJis);
    QTest::newRow("UTF-8") << int(TextEncoding::Utf8);
    QTest::newRow("UTF-8 with BOM") << int(TextEncoding::Utf8WithBom);
    QTest::newRow("UTF-16 (Notepad's Unicode)") << int(TextEncoding::Utf16LE);
    QTest::newRow("UTF-16 big-endian") << int(TextEncoding::Utf16BE);
}

void TextDataTest::readsBothEncodingsAlike() {
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("名簿.txt"));
    test::writeTextFile(path, QStringLiteral("1,2016,0,0,\"①さくら～－Ⅰ\",0\n"), TextEncoding(encoding));
    TextDataReader reader;
    QVERIFY(reader.load(path, nullptr));
    QCOMPARE(int(reader.encoding()), encoding);
    QCOMPARE(reader.readInt(), 1);
    QCOMPARE(reader.readInt(), 2016);
    reader.readText();
    reader.readText();
    QCOMPARE(reader.readText(), QStringLiteral("①さくら～－Ⅰ"));
    QCOMPARE(reader.readInt(), 0);
    QVERIFY(reader.atEnd());
}

void TextDataTest::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digits then letters") << QStringLiteral("12345North") << 12345.0;
    QTest::newRow("letters") << QStringLiteral("North") << 0.0;
    QTest::newRow("zeros then letters") << QStringLiteral("00000North") << 0.0;
    QTest::newRow("negative") << QStringLiteral("-7") << -7.0;
    QTest::newRow("fraction") << QStringLiteral("1.5x") << 1.5;
    QTest::newRow("blanks are passed over") << QStringLiteral(" 1 2") << 12.0;
    QTest::newRow("exponent") << QStringLiteral("2e3") << 2000.0;
    QTest::newRow("dangling exponent") << QStringLiteral("12e") << 12.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("full-width digits read as they show") << QStringLiteral("１２") << 12.0;
    QTest::newRow("full-width sign and point") << QStringLiteral("－１．５") << -1.5;
}

void TextDataTest::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(warizan::leadingNumber(text), value);
}

void TextDataTest::wholeNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("whole");
    QTest::newRow("half to even, down") << 2.5 << 2;
    QTest::newRow("half to even, up") << 3.5 << 4;
    QTest::newRow("negative") << -1.6 << -2;
    QTest::newRow("too large for int") << 1e20 << std::numeric_limits<int>::max();
    QTest::newRow("too small for int") << -1e20 << std::numeric_limits<int>::min();
    QTest::newRow("not a number") << std::nan("") << 0;
}

void TextDataTest::wholeNumber() {
    QFETCH(double, value);
    QFETCH(int, whole);
    QCOMPARE(warizan::wholeNumber(value), whole);
}

void TextDataTest::writesTheSuitesFormat() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    TextDataWriter writer;
    writer.addNumber(qint64(12));
    writer.addNumber(qint64(-3));
    writer.addText(QStringLiteral("はな\"こ"));
    writer.addNumber(1.5);
    writer.endRecord();
    writer.addText(QString());
    writer.endRecord();
    QVERIFY(writer.save(path, TextEncoding::ShiftJis, nullptr));
    const QByteArray expected = QByteArray("12,-3,\"") + QByteArray("\x82\xCD\x82\xC8\x81\x68\x82\xB1") +
                                QByteArray("\",1.5\r\n\"\"\r\n");
    QCOMPARE(test::readBytes(path), expected);
}

void TextDataTest::writerRoundTripsThroughReader() {
    TextDataWriter writer;
    writer.addNumber(qint64(5000));
    writer.addText(QStringLiteral("やまだ　たろう      "));
    writer.addText(QStringLiteral("a,b"));
    writer.endRecord();
    TextDataReader reader = TextDataReader::fromText(writer.text());
    QCOMPARE(reader.readInt(), 5000);
    QCOMPARE(reader.readText(), QStringLiteral("やまだ　たろう      "));
    QCOMPARE(reader.readText(), QStringLiteral("a,b"));
    QVERIFY(reader.atEnd());
}

void TextDataTest::refusesUnmappableTextAndKeepsOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("roster.txt"));
    test::writeTextFile(path, QStringLiteral("old\n"));
    TextDataWriter writer;
    writer.addText(QStringLiteral("😀"));
    writer.endRecord();
    QString error;
    QVERIFY(!writer.save(path, TextEncoding::ShiftJis, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(test::readBytes(path), QByteArray("old\r\n"));
    QVERIFY(writer.save(path, TextEncoding::Utf8, nullptr));
    QCOMPARE(test::readBytes(path), QByteArray("\"\xF0\x9F\x98\x80\"\r\n"));
    // A roster read as UTF-16 is written back so, with its byte-order mark.
    QVERIFY(writer.save(path, TextEncoding::Utf16LE, nullptr));
    QCOMPARE(test::readBytes(path), QByteArray("\xFF\xFE\"\0\x3D\xD8\x00\xDE\"\0\r\0\n\0", 14));
}

// Both builds write these bytes: characters typed on Linux take the CP932 bytes of their Windows
// look-alikes, the look-alikes themselves and CP932's own extensions keep theirs, and what CP932 lacks fails.
void TextDataTest::writesShiftJisAsWindowsDoes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes"); // empty: not writable
    QTest::addColumn<QString>("readBack");
    const auto row = [](const char* name, char16_t typed, const char* bytes, char16_t windows) {
        QTest::newRow(name) << QString(QChar(typed)) << QByteArray(bytes) << QString(QChar(windows));
    };
    row("wave dash", u'\u301C', "\x81\x60", u'\uFF5E');
    row("double vertical line", u'\u2016', "\x81\x61", u'\u2225');
    row("minus sign", u'\u2212', "\x81\x7C", u'\uFF0D');
    row("cent sign", u'\u00A2', "\x81\x91", u'\uFFE0');
    row("pound sign", u'\u00A3', "\x81\x92", u'\uFFE1');
    row("not sign", u'\u00AC', "\x81\xCA", u'\uFFE2');
    row("em dash", u'\u2014', "\x81\x5C", u'\u2015');
    row("full-width tilde as it is", u'\uFF5E', "\x81\x60", u'\uFF5E');
    row("horizontal bar as it is", u'\u2015', "\x81\x5C", u'\u2015');
    row("NEC circled one", u'\u2460', "\x87\x40", u'\u2460');
    row("IBM small roman one", u'\u2170', "\xFA\x40", u'\u2170');
    row("NEC and IBM both hold the not sign: NEC's row", u'\uFFE2', "\x81\xCA", u'\uFFE2');
    row("because: the JIS row, not NEC's", u'\u2235', "\x81\xE6", u'\u2235');
    row("half-width katakana", u'\uFF76', "\xB6", u'\uFF76');
    row("backslash stays a backslash", u'\\', "\\", u'\\');
    row("yen sign has no byte of its own", u'\u00A5', "", u'\u00A5');
    row("accented letter: no best fit", u'\u00E9', "", u'\u00E9');
    row("lone surrogate", char16_t(0xD800), "", char16_t(0xD800));
}

void TextDataTest::writesShiftJisAsWindowsDoes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    bool ok = false;
    const QByteArray written = encodeText(text, TextEncoding::ShiftJis, &ok);
    QCOMPARE(ok, !bytes.isEmpty());
    if (bytes.isEmpty()) {
        QCOMPARE(shiftJisField(text, 2), QByteArray("? "));
        return;
    }
    QCOMPARE(written, bytes);
    QCOMPARE(shiftJisField(text, 3), bytes.leftJustified(3, ' '));
    QString decoded;
    TextEncoding encoding{};
    QVERIFY(decodeTextFile(bytes, &decoded, &encoding));
    QCOMPARE(decoded, readBack);
}

// A damaged record field reads the same in both builds: each character that does not decode is one
// U+FFFD, and a lead byte without its trail byte takes nothing that follows with it.
void TextDataTest::decodesDamagedShiftJisAlike_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::newRow("sound") << QByteArray("a\x82\xA0\x81\x60 ") << QStringLiteral("aあ～ ") << true;
    QTest::newRow("lead byte at the end") << QByteArray("ab\x82") << QStringLiteral("ab\uFFFD") << false;
    QTest::newRow("lead byte before a line end")
        << QByteArray("a\x82\nb") << QStringLiteral("a\uFFFD\nb") << false;
    QTest::newRow("unassigned double-byte character") << QByteArray("a\x85\x40"
                                                                    "b")
                                                      << QStringLiteral("a\uFFFDb") << false;
    QTest::newRow("single bytes CP932 leaves undefined") << QByteArray("\x80"
                                                                       "a\xFD\xFF")
                                                         << QStringLiteral("\uFFFDa\uFFFD\uFFFD") << false;
    QTest::newRow("lead byte of nothing") << QByteArray("\xA0"
                                                        "a")
                                          << QStringLiteral("\uFFFDa") << false;
}

void TextDataTest::decodesDamagedShiftJisAlike() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QCOMPARE(fromShiftJis(bytes), text);
    QString decoded;
    TextEncoding encoding{};
    QCOMPARE(decodeTextFile(bytes, &decoded, &encoding), whole);
}

void TextDataTest::cutsShiftJisFieldsAtCharacterBoundary_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("padded") << QStringLiteral("ab") << 5 << QByteArray("ab   ");
    QTest::newRow("cut") << QStringLiteral("abcdef") << 5 << QByteArray("abcde");
    QTest::newRow("double-byte fits") << QStringLiteral("aあ") << 3 << QByteArray("a\x82\xA0");
    QTest::newRow("double-byte would split") << QStringLiteral("abあ") << 3 << QByteArray("ab ");
    // The ends of the lead-byte ranges: 0x81..0x9F and 0xE0..0xFC.
    QTest::newRow("lead byte 0x9F would split") << QStringLiteral("ab檗") << 3 << QByteArray("ab ");
    QTest::newRow("lead byte 0xE0 would split") << QStringLiteral("ab漾") << 3 << QByteArray("ab ");
    QTest::newRow("lead byte 0x9F fits") << QStringLiteral("a檗") << 3 << QByteArray("a\x9F\x40");
    QTest::newRow("unmappable becomes ?") << QStringLiteral("a😀b") << 4 << QByteArray("a?b ");
    QTest::newRow("empty") << QString() << 5 << QByteArray("     ");
}

void TextDataTest::cutsShiftJisFieldsAtCharacterBoundary() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QByteArray, bytes);
    QCOMPARE(shiftJisField(text, width), bytes);
}

void TextDataTest::reportsMissingFile() {
    QTemporaryDir dir;
    TextDataReader reader;
    QString error;
    QVERIFY(!reader.load(dir.filePath(QStringLiteral("none.txt")), &error));
    QCOMPARE(error, QStringLiteral("ファイルが見つかりません。"));
}

// Files a reader must refuse at once, without blocking or reading without end.
void TextDataTest::refusesUnusableFiles_data() {
    QTest::addColumn<QString>("make"); // what stands at the path
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("words");
    QTest::newRow("missing") << "none" << int(FileFault::Missing) << "見つかりません";
    QTest::newRow("folder") << "folder" << int(FileFault::Folder) << "フォルダ";
    QTest::newRow("pipe nobody writes to")
        << "fifo" << int(FileFault::NotRegular) << "ふつうのファイルではありません";
    QTest::newRow("link to an endless device") << "zero" << int(FileFault::NotRegular) << "パイプや装置";
    QTest::newRow("larger than any real text file") << "huge" << int(FileFault::TooLarge) << "大きすぎます";
    QTest::newRow("UTF-16 without its mark") << "utf16" << int(FileFault::Encoding) << "文字コード";
    QTest::newRow("bytes no encoding holds") << "junk" << int(FileFault::Encoding) << "文字コード";
}

void TextDataTest::refusesUnusableFiles() {
    QFETCH(QString, make);
    QFETCH(int, fault);
    QFETCH(QString, words);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("設定.txt"));
    if (const QString why = test::cannotMakeSpecialFiles();
        (make == "fifo" || make == "zero") && !why.isEmpty())
        QSKIP(qPrintable(why));
    if (make == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (make == "fifo")
        QVERIFY(test::makeFifo(path));
    else if (make == "zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (make == "huge") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(kTextFileLimit + 1));
    } else if (make == "utf16" || make == "junk") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(make == "utf16" ? QByteArray("1\0,\0"
                                                "2\0",
                                                6)
                                   : QByteArray("1,\x80\xFF\n"));
    }
    TextDataReader reader;
    FileFailure failure;
    QVERIFY(!reader.load(path, failure));
    QCOMPARE(int(failure.fault), fault);
    QVERIFY2(failure.description.contains(words), qPrintable(failure.description));
}

QTEST_GUILESS_MAIN(TextDataTest)
#include "tst_text_data.moc"
