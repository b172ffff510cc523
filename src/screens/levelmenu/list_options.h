#pragma once

#include "lists/score_lists.h"
#include "screens/form_owner.h"

#include <QObject>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace warizan {

class ColumnsPanel;
class DesignForm;

// The personal list's level-1 runs faster than the chart's limit, as of its last build: their number, sum
// and largest time.
struct ChartFigures {
    int count = 0;
    qint64 sum = 0;
    qint32 largest = 0;
};

// The level menu's choice of lists: the option panel `Picture1` (the display modes above, the lists of the
// mode below), the grade filter `Combo1`, the whole period `Combo2`, the heading of the lists `Label5`, the
// list buttons under the columns, "グラフ" that opens the personal report, and the progress panel
// `Picture6` over the lists while they are built. It fills the columns' lists for the choice made and
// keeps the choice in the program state.
class ListOptions final : public QObject {
    Q_OBJECT
public:
    // The controls on `form`'s canvas; the lists are those of `columns`.
    ListOptions(FormContext& context, DesignForm& form, ColumnsPanel& columns);

    // The load step: the grade filters, the one chosen before first, and the whole period.
    void load(int levelCount);
    // Activation, before the count: the list captions as the menu is first shown.
    void resetCaptions();
    // Activation, after the count: the points ranking so far, chosen as the menu first shows it.
    void chooseFirstLists();
    void raiseProgressPanel();
    // One column's ranking as the current choice has it ("成績表示").
    void showRanking(int level);

    const ChartFigures& chartFigures() const { return m_chart; }

signals:
    // The way back ("戻る(0)") may be taken, or not while the lists are being built.
    void wayBackOffered(bool offered);
    // A display mode was chosen: the personal report closes.
    void modeChosen();
    // "グラフ": the personal report of the pupil's own times.
    void reportAsked();
    // The lists are built and shown again: the unlocking pass runs.
    void listsShown();

private:
    void buildOptionPanel(QWidget* canvas);
    void buildListButtons(QWidget* canvas);
    void buildProgressPanel(QWidget* canvas);
    void showProgressPanel();
    int selectedListChoice() const;

    // Option and list handlers. Those that may show a message stop when the menu is no longer in front
    // afterwards, and say so by returning false.
    void onDisplayMode(int k);
    void onListChoice(int k);
    void finishListChange();
    void onGradeFilter();
    void onWholePeriod();
    void showRankings();
    bool showBestList();
    bool showTodayList();
    bool showPeriodList();
    bool showPersonalList();
    bool fillScoreLists(ScoreListKind kind);

    AppContext& m_context;
    DesignForm& m_form;
    ColumnsPanel& m_columns;
    int m_levelCount = 0;
    bool m_loading = false; // activation is selecting the first lists
    ChartFigures m_chart;

    QWidget* Picture1;                      // the option panel
    std::array<QRadioButton*, 3> Option2{}; // display mode: times, points, personal times
    std::array<QRadioButton*, 4> Option1{}; // the list within the mode, elements 1..3
    QButtonGroup* m_modeGroup;
    QButtonGroup* m_listGroup;
    QComboBox* Combo1;      // grade filter
    QComboBox* Combo2;      // the whole period
    QPushButton* Command17; // the personal report ("グラフ")
    QLabel* Label5;         // heading of the lists
    QPushButton* Command5;  // today's runs
    QPushButton* Command7;  // runs of the period
    QPushButton* Command6;  // best results
    QPushButton* Command16; // the pupil's own times
    QWidget* Picture6;      // progress panel
    QProgressBar* ProgressBar2;
};

} // namespace warizan
