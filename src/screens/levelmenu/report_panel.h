#pragma once

#include "report/pages/fact_map_page.h"
#include "screens/form_owner.h"

#include <QWidget>
#include <array>

#include <QDate>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace warizan {

class DesignForm;
struct FactMap;
struct WeekPage;

// The level menu's personal report panel `Picture11`: the drawing surface, the pupils and levels to report
// on, and the buttons that draw the report on the screen or print it. It lives inside the level menu, hidden
// until the menu's "グラフ" opens it.
class ReportPanel final : public QWidget {
    Q_OBJECT
public:
    // The panel on `form`'s canvas `parent`, hidden.
    ReportPanel(FormContext& context, const DesignForm& form, QWidget* parent);

    // Opens the panel on the confirmed pupil with the first three levels chosen and draws the report on the
    // screen. `levelCount` is the number of the content's levels.
    void open(int levelCount);
    // The buttons for the reports of the pupils chosen in the roster are the teacher's.
    void showTeacherButtons(bool shown);

private:
    QWidget* Picture12;
    QListWidget* List2; // the roster; the number after the last "/" is the pupil
    QListWidget* List3; // the levels; row k - 1 is level k
    QListWidget* List4;
    QPushButton* Command25;
    std::array<QPushButton*, 2> Command21{}; // "表示", "印刷" for reportPupil
    std::array<QPushButton*, 2> Command24{}; // the same for the pupils chosen in List2
    QPushButton* Command18;                  // "戻る"
    QLabel* reportPicture;                   // what Picture12 shows: the report as last drawn on the screen
    int reportPupil = 0;                     // whose report the buttons draw or print
    double reportBaseFontSize = 6;
    // The fact map "苦手チェック" beside the chart report, of the first pupil chosen in List2 (or
    // reportPupil).
    QLabel* Label20;                         // "苦手チェック"
    QComboBox* Combo3;                       // the level whose pairs it shows; row 0: every pair
    std::array<QPushButton*, 2> Command26{}; // "表示", "印刷"
    QPushButton* Command27;                  // "練習プリント": a sheet made from the weak pairs
    // A parent's week "今週のまとめ" of the same pupil: drawn on the screen from this week on, moved a week
    // back or on, printed on one A4 page.
    QPushButton* Command31;                  // "今週のまとめ"
    std::array<QPushButton*, 3> Command32{}; // "前の週", "次の週", "印刷"
    QDate weekMonday;                        // the week the buttons show or print
    int weekPupil = 0;
    bool weekShown = false; // the picture shows the week

    // Draws the report of reportPupil for the levels chosen in List3, on the screen or on the printer.
    void runReport(bool toPrinter);
    // The report of each pupil chosen in List2, or of reportPupil when none is.
    void runReportsOfChosen(bool toPrinter);
    void showFactMap();
    void printFactMap();
    void printWeakSheet();
    // Draws the week of weekMonday on the screen, this week's when `fromThisWeek`.
    void showWeek(bool fromThisWeek);
    void moveWeek(int weeks);
    void printWeek();
    // Whether the picture shows the week: only then do "前の週" and "次の週" move it.
    void setWeekShown(bool shown);
    // The week's page of weekPupil; false, with the reason shown, when the answer log cannot be read.
    bool loadWeek(WeekPage* page);
    // The pupil whose map the map's buttons use.
    int mapPupil() const;
    int mapLevel() const;
    // The map of `pupil`; false, with the reason shown, when the answer log cannot be read.
    bool loadFactMap(int pupil, FactMap* map);
    FactMapHeading mapHeading(int pupil) const;
    // Says where the pages went when there was no printer, offering to open the PDF, or why they could not
    // be printed.
    void tellOutcome(const QString& error, const QString& pdfPath, const QString& what, int pupil);

    FormContext& m_forms;
    AppContext& m_context;
    const DesignForm& m_form;
};

} // namespace warizan
