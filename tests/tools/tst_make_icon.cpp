// The executables' icon file as make-icon writes it: a Windows icon directory whose every entry is the
// drill's own picture at that size, up to the 256 pixels of a high-density Explorer view.
#include "screens/drill_icon.h"
#include "test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

class MakeIconTest final : public QObject {
    Q_OBJECT
private slots:
    void everyEntryIsTheDrillsPicture();
};

void MakeIconTest::everyEntryIsTheDrillsPicture() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("warizan.ico"));
    QProcess tool;
    tool.start(QStringLiteral(MAKE_ICON), {path});
    QVERIFY(warizan::test::finishedWithin(tool, 60000));
    QCOMPARE(tool.exitCode(), 0);
    const QByteArray bytes = warizan::test::readBytes(path);
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    QVERIFY(bytes.size() > 6);
    QCOMPARE(u16(0), quint16(0));
    QCOMPARE(u16(2), quint16(1)); // an icon
    const int count = u16(4);
    QList<int> sizes;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        const int width = quint8(bytes.at(entry)) == 0 ? 256 : quint8(bytes.at(entry));
        QCOMPARE(quint8(bytes.at(entry + 1)) == 0 ? 256 : quint8(bytes.at(entry + 1)), width);
        QCOMPARE(u16(entry + 6), quint16(32));
        const quint32 length = u32(entry + 8);
        const quint32 offset = u32(entry + 12);
        QVERIFY(qsizetype(offset) + qsizetype(length) <= bytes.size());
        const QImage image = QImage::fromData(bytes.mid(offset, length), "PNG");
        QCOMPARE(image.size(), QSize(width, width));
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 warizan::drillIconImage(width).convertToFormat(QImage::Format_ARGB32_Premultiplied));
        sizes << width;
    }
    for (const int size : {16, 24, 32, 48, 256})
        QVERIFY2(sizes.contains(size), qPrintable(QString::number(size)));
}

QTEST_GUILESS_MAIN(MakeIconTest)
#include "tst_make_icon.moc"
