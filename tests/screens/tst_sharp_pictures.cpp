// Pictures the program draws for the screen, on a screen scaled as Windows laptops are (150 %, 200 %): each
// is drawn at the screen's own pixels, not at the window's logical size and stretched, which blurs it. The
// scale is the process's own (WARIZAN_TEST_SCALE, one executable per scale, set before the application
// starts, as Qt reads it only then).
#include "answers/fact_map.h"
#include "report/pages/fact_map_page.h"
#include "report/pages/report_output.h"
#include "report/report_figures.h"
#include "screens/drill_icon.h"
#include "screens/result/result_screen.h"
#include "screenshot.h"
#include "startup/configuration.h"
#include "state/content_levels.h"
#include "test_forms.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <cmath>

using namespace warizan;

class SharpPicturesTest final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reportPanelPictures_data();
    void reportPanelPictures();
    void selectionScreenPicture();
    void resultScreenBackground();
};

namespace {

constexpr qreal kScale = WARIZAN_TEST_SCALE;

const QString kRoster = QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                       "2,2012,0,0,\"はなこ\",0,\"\",\"\"\n");

// The mean difference, in grey levels, between a picture drawn at the screen's pixels brought down to
// `reference`'s size and `reference`, drawn at one pixel a point. Text is hinted a little differently at
// each size; a picture drawn into a corner of its image, or not at all, differs by far more.
double meanDifference(const QImage& sharp, const QImage& reference) {
    const QImage down = sharp.scaled(reference.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_Grayscale8);
    const QImage ref = reference.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < ref.height(); ++y)
        for (int x = 0; x < ref.width(); ++x)
            sum += std::abs(int(qGray(down.pixel(x, y))) - int(qGray(ref.pixel(x, y))));
    return sum / (ref.width() * ref.height());
}

// A picture for `logical` pixels of the screen, with the screen's ratio and as many pixels as it has.
void expectScreenPixels(const QPixmap& picture, QSize logical) {
    QCOMPARE(picture.devicePixelRatio(), kScale);
    QCOMPARE(picture.size(), QSize(qRound(logical.width() * kScale), qRound(logical.height() * kScale)));
}

} // namespace

void SharpPicturesTest::initTestCase() {
    QVERIFY(QGuiApplication::primaryScreen());
    QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), kScale);
}

void SharpPicturesTest::reportPanelPictures_data() {
    QTest::addColumn<QString>("button"); // the panel's button that draws on the screen
    QTest::newRow("the report's chart") << u""_qs;
    QTest::newRow("the fact map") << u"Command26_0"_qs;
}

// The level menu's report panel, as a pupil opens it with "グラフ", and its fact map.
void SharpPicturesTest::reportPanelPictures() {
    QFETCH(QString, button);
    test::TempSuite suite;
    suite.writeRoster(kRoster);
    test::TestForms forms;
    ProgramState& state = *forms.test.state;
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(state, suite.programFolder(), &error));
    QVERIFY(forms.window.show(FormId::namesel));
    state.pupil.currentPupil = 1;
    state.pupil.currentPupilName = state.roster.pupilName[1];
    state.pupil.currentGradeLabel = state.roster.pupilGradeLabel[1];
    PrepareContent(state.levels);
    QVERIFY(forms.window.show(FormId::seisekitime1));
    DesignForm* menu = forms.window.currentForm();
    QVERIFY(menu && menu->objectName() == u"seisekitime1");
    QTest::mouseClick(menu->findChild<QPushButton*>(u"Command17"_qs), Qt::LeftButton);
    if (!button.isEmpty())
        QTest::mouseClick(menu->findChild<QPushButton*>(button), Qt::LeftButton);
    QVERIFY(forms.test.dialogs.messages.empty());

    const auto* picture = menu->findChild<QLabel*>(u"reportPicture"_qs);
    const QSize logical = menu->findChild<QWidget*>(u"Picture12"_qs)->size();
    QCOMPARE(picture->devicePixelRatioF(), kScale);
    expectScreenPixels(picture->pixmap(), logical);

    // The same picture drawn at one pixel a point: the sharp one holds the same drawing, all over.
    QImage reference;
    if (button.isEmpty()) {
        ReportRequest request;
        request.pupil = 1;
        request.levels = {1, 2, 3};
        request.today = forms.test.clock.today();
        ReportDocument report;
        QString why;
        QVERIFY2(buildReport(state, request, &report, &why), qPrintable(why));
        reference = reportScreenImage(report, logical, kReportBaseFontPoints);
    } else {
        FactMap map;
        QString why;
        QVERIFY2(readFactMap(state.config.programDataFolder, 1, 0, &map, &why), qPrintable(why));
        reference = factMapImage(
            map, logical, factMapHeading(state.roster.pupilName[1], QString(), forms.test.clock.today()));
    }
    const double difference = meanDifference(picture->pixmap().toImage(), reference);
    QVERIFY2(difference < 6, qPrintable(QString::number(difference)));
    test::saveScreenshot(forms.window, QStringLiteral("sharp_%1_%2")
                                           .arg(qRound(kScale * 100))
                                           .arg(button.isEmpty() ? u"report"_qs : u"map"_qs));
}

void SharpPicturesTest::selectionScreenPicture() {
    test::TempSuite suite;
    suite.writeRoster(kRoster);
    test::TestForms forms;
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(*forms.test.state, suite.programFolder(), &error));
    QVERIFY(forms.window.show(FormId::namesel));
    const auto* image = forms.window.currentForm()->findChild<QLabel*>(u"Image1"_qs);
    expectScreenPixels(image->pixmap(), image->size());
    QImage drawn = image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    drawn.setDevicePixelRatio(1);
    QCOMPARE(drawn, drillIconImage(drawn.width()).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void SharpPicturesTest::resultScreenBackground() {
    const QSize logical(1024, 768);
    const QPixmap sharp = resultBackground(logical, kScale);
    expectScreenPixels(sharp, logical);
    const double difference = meanDifference(sharp.toImage(), resultBackground(logical).toImage());
    QVERIFY2(difference < 3, qPrintable(QString::number(difference)));
}

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
    warizan::Application app(argc, argv);
    SharpPicturesTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharp_pictures.moc"
