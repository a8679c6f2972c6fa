#pragma once

#include <QList>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace kovaldi {
class AutoSizeLabel;
class MainWindow;
class SettingsStore;
class UpDown;
} // namespace kovaldi

namespace kovaldi::test {

// Shows a window and waits until the window system has made it active; a main window runs
// its load handling on this first show. False when it never became active.
bool ShowActive(QWidget& window);

// A main window with its controls, found by their names as a test reaches them.
struct MainWindowControls
{
    explicit MainWindowControls(MainWindow& window);

    // The six boxes in the order their texts are stored: target, header, footer, minimum,
    // maximum, digit count.
    QList<QLineEdit*> boxes() const;
    QStringList boxTexts() const;
    void setBoxTexts(const QStringList& texts) const;

    // Empty when the window is as the lock leaves it: every input disabled (but except),
    // the version button enabled, the bar shown; or, unlocked, every input enabled, the bar
    // hidden at 0, no status. Otherwise what differs.
    QString lockMismatch(bool locked, const QWidget* except = nullptr) const;

    MainWindow& window;
    QPushButton* Command1;
    QGroupBox* FrameMain;
    AutoSizeLabel* lblStatus;
    QProgressBar* pbStatus;
    QPushButton* cmdEnd;
    AutoSizeLabel* lblPath;
    QLineEdit* txtPath;
    QPushButton* cmdBrowse;
    std::array<AutoSizeLabel*, 6> lblETC;
    QLineEdit* txtHeader;
    QLineEdit* txtMin;
    QLineEdit* txtBeam;
    UpDown* udBeam;
    QLineEdit* txtFooter;
    QLineEdit* txtMax;
    QPushButton* cmdMake;
    QLabel* lblTest;
    QPushButton* cmdOptions;
    QPushButton* cmdList;
    QLabel* lblOptions;
};

// The one main window of a test case, made on demand and destroyed by reset() (call it in
// cleanup(), before checking that no window is left).
class MainWindowFixture
{
public:
    MainWindowFixture();
    ~MainWindowFixture();

    // As created: every box holding its own name, not loaded, hidden.
    const MainWindowControls& create(SettingsStore& settings);
    // Loaded, shown and active.
    const MainWindowControls& show(SettingsStore& settings);
    void reset();

private:
    std::unique_ptr<MainWindow> m_window;
    std::optional<MainWindowControls> m_controls;
};

} // namespace kovaldi::test
