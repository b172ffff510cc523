#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace warizan {

// The program's version, the project's version in the build (CMakeLists.txt), which the Windows
// executables carry too.
inline constexpr int kVersionMajor = WARIZAN_VERSION_MAJOR;
inline constexpr int kVersionMinor = WARIZAN_VERSION_MINOR;
inline constexpr int kVersionRevision = WARIZAN_VERSION_PATCH;

// "Version" and the version numbers without leading zeros: "Version1.0.17".
QString versionText();

// The About box `frmver`: names the drill, its version and its maker and where to send questions. Run
// modally over the selection screen; "O.K." closes it. Controls keep their design names as object names.
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const QString& contentHeading, QWidget* parent = nullptr);

protected:
    // The window's activation: the title, version, product and notice are filled each time it is shown.
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Label1;        // the drill's title
    QLabel* lblVersion;    // "Version1.0.17"
    QLabel* lblProduct;    // "Sorabune"
    QLabel* lblNotice;     // the maker's notice
    QLabel* Label6;        // "お問い合わせは下記まで"
    QLabel* Label3;        // the maker's contact address; a click does what Command2 does: nothing
    QPushButton* Command1; // "O.K."
    QPushButton* Command2; // hidden, no action

    QString m_contentHeading;
};

} // namespace warizan
