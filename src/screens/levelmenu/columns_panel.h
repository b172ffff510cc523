#pragma once

#include "lists/level_columns.h"
#include "state/program_state.h"

#include <QObject>
#include <QStringList>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace warizan {

// The level menu's columns, one per level: the column number and the level's name (a click on the name
// starts the level), the start button with its marker box, the goal and recent lines, the working pupil's
// figures today and on all days, and the list of the family's rankings or runs with its "成績表示".
//
// The controls lie on the menu's canvas, laid out from a hidden template column (element 0 of each array,
// in design pixels). The columns are built once, when the menu loads; activation only fills them.
class ColumnsPanel final : public QObject {
    Q_OBJECT
public:
    // The template column on `canvas`, hidden.
    ColumnsPanel(const ProgramState& state, QWidget* canvas, QObject* parent);

    // Builds columns 1..levelCount, `columnWidth` design pixels each, with their fixed texts.
    void build(int levelCount, double columnWidth);
    // Places the columns with `first` leftmost; the columns before it go out of sight.
    void place(int first);

    // The working pupil's figures in every column, every start button enabled and every marker shown,
    // before the unlocking pass decides which stay.
    void showFigures();
    // What the unlocking pass decided: the start buttons it opens and the markers it keeps.
    void showUnlocking(const Unlocking& unlocking);
    bool startEnabled(int level) const;
    void focusStart(int level);

    // The heads "今日" and "今まで" over every column, and every list emptied.
    void clearLists();
    // The ranking of one column: its heads, and its list replaced by `lines`.
    void showRanking(int level, const QStringList& lines);
    // Lines added to the list of one column, no line chosen.
    void addLines(int level, const QStringList& lines);
    void showLists(bool shown);

signals:
    void startClicked(int level); // the start button
    void nameClicked(int level);  // the level's name
    void rankingAsked(int level); // "成績表示"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTemplate();
    void showHeads(int level);
    int count() const { return static_cast<int>(List5.size()) - 1; }

    const ProgramState& m_state;
    QWidget* m_canvas;
    double m_columnWidth = 0;         // design pixels
    std::vector<QWidget*> m_template; // the template column's controls, in the order they are built
    // Per column, index = level; element 0 is the template.
    std::vector<QLabel*> Label1;        // column number
    std::vector<QLabel*> Label3;        // level name; a click starts the level
    std::vector<QPushButton*> Command4; // start button
    std::vector<QLineEdit*> Text1;      // marker box beside the start button
    std::vector<QLabel*> Label7;        // goal line
    std::vector<QLabel*> Label8;        // recent line
    std::vector<QLabel*> Label9;        // head "今日"
    std::vector<QLabel*> Label10;       // head "今まで"
    std::vector<QLabel*> Label14;       // today
    std::vector<QLabel*> Label15;       // so far
    std::vector<QListWidget*> List5;    // the column's ranking or runs
    std::vector<QPushButton*> Command3; // "成績表示"
};

} // namespace warizan
