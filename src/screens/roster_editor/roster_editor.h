#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace warizan {

// The roster editor `FrmName2`: the names and birth years of the first three people of the roster. It
// replaces the selection screen and brings it back. Controls keep their design names as object names;
// the box arrays are indexed 1 to 3 like the rows (element 0 is unused).
class RosterEditor final : public DesignForm {
    Q_OBJECT
public:
    explicit RosterEditor(FormContext& context, QWidget* parent = nullptr);

    // Reads the roster into the rows; rows without an entry stay empty and cannot be typed into.
    [[nodiscard]] bool load() override;
    // A roster that could not be read is reported here, and the selection screen is brought back.
    void activate() override;
    // A close request goes back as "もどる" does: what was not saved is left, as there.
    void closeRequested() override;

    // "変更": writes the rows to the roster. A name the roster cannot hold or a year that does not fit is
    // refused with a message and nothing is written; a roster that has gone missing is reported and the
    // selection screen is brought back.
    void save();
    // "もどる": the selection screen again, rebuilt from the roster; then this editor closes.
    void goBack();

private:
    QLabel* Label4;                    // "名前変更"
    QLabel* Label2;                    // "名前"
    QLabel* Label1;                    // "生まれた年"
    std::array<QLineEdit*, 4> Text1{}; // names, rows 1..3
    std::array<QLineEdit*, 4> Text2{}; // birth years, rows 1..3
    QLabel* Label3;                    // the note on early-born children
    QPushButton* Command1;             // "変更"
    QPushButton* Command2;             // "もどる"

    void buildControls();
    void showMessage(const QString& text);

    FormContext& m_forms;
    AppContext& m_context;
    QString m_unreadable; // why the roster could not be read at load; empty when it was read
};

} // namespace warizan
