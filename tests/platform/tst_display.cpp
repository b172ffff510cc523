#include "platform/gui/display.h"

#include <QFontMetricsF>
#include <QtTest>

using namespace warizan;

class DisplayTest final : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { display::setScale(1.0); }
    void scaleFitsTheScreen_data();
    void scaleFitsTheScreen();
    void mapsDesignUnits();
    void fixedPitchFaceKeepsColumns();
};

void DisplayTest::scaleFitsTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("scale");
    QTest::newRow("design size") << QSize(1024, 768) << 1.0;
    QTest::newRow("wide screen: height decides") << QSize(1920, 1080) << 1.40625;
    QTest::newRow("tall screen: width decides") << QSize(1280, 1024) << 1.25;
    QTest::newRow("small screen shrinks") << QSize(800, 600) << 0.78125;
    QTest::newRow("no screen") << QSize() << 1.0;
}

void DisplayTest::scaleFitsTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(double, scale);
    QCOMPARE(display::scaleToFit(screen), scale);
}

void DisplayTest::mapsDesignUnits() {
    display::setScale(1.25);
    QCOMPARE(display::px(100), 125);
    QCOMPARE(display::twips(1500), 125); // 15 twips to the pixel
    QCOMPARE(display::rect(8, 16, 1024, 768), QRect(10, 20, 1280, 960));
    QCOMPARE(display::designSize(), QSize(1280, 960));
    QCOMPARE(display::font(display::Face::Mincho, 39.75).pixelSize(), 66); // 53 px at design size
    display::setScale(1.0);
    QCOMPARE(display::font(display::Face::Gothic, 24).pixelSize(), 32);
    QCOMPARE(display::colour(0x008080), QColor(0, 128, 128));
}

void DisplayTest::fixedPitchFaceKeepsColumns() {
    // The lists pad names with full-width blanks and figures with half-width ones: the columns line up
    // only when a full-width character is exactly two half-width ones wide.
    const QFontMetricsF metrics(display::font(display::Face::Gothic, 24));
    // Qt's offscreen platform under Wine sees no font of the system at all.
    if (!metrics.inFont(QChar(0x3000)))
        QSKIP("no Japanese font is installed where this platform looks for fonts");
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("　　")),
             metrics.horizontalAdvance(QStringLiteral("1234")));
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("たろう")),
             metrics.horizontalAdvance(QStringLiteral("12回/3")));
}

QTEST_MAIN(DisplayTest)
#include "tst_display.moc"
