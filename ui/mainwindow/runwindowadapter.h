#pragma once

#include "run/runwindow.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kovaldi {

class MainWindow;

// The main window as a run sees it: its boxes, status line, progress bar, message boxes,
// input lock and event pump.
class RunWindowAdapter : public QObject, public RunWindow
{
public:
    explicit RunWindowAdapter(MainWindow& window) : m_window(window) {}

    QString TargetFolderText() const override;
    QString HeaderText() const override;
    QString FooterText() const override;
    QString MinimumText() const override;
    QString MaximumText() const override;
    QString DigitCountText() const override;

    void SetStatus(const QString& text) override;
    void SetProgress(float value) override;
    bool Ask(const QString& text) override;
    void Tell(const QString& text, MessageKind kind) override;
    void LockInputs() override;
    void UnlockInputs() override;
    void PumpEvents() override;

protected:
    // A modal window opened over the window mid-run (the About window) would otherwise
    // stand over a status line and bar a frame behind the disk for as long as it is open:
    // one frame is drawn as it blocks the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // While folders are being made, the status line and the progress bar take their new
    // text and value at every step but are redrawn (and the status line measured) at most
    // every other display frame: the screen shows no more than one a frame, and drawing
    // every step would cost more than making the folder.
    void pacePainting(bool paced);
    void drawFrame();

    MainWindow& m_window;
    bool m_paced = false;
    QElapsedTimer m_sinceFrame;
    // Locking moves the focus off the disabled control (onto the version button, the
    // only one left); unlocking gives it back, so that the keyboard is where it was.
    QPointer<QWidget> m_focusBeforeLock;
};

} // namespace kovaldi
