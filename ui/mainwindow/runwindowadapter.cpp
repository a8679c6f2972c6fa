#include "mainwindow/runwindowadapter.h"

#include "desktop/messagebox.h"
#include "mainwindow/mainwindow.h"
#include "widgets/autosizelabel.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>

namespace kovaldi {

namespace {
// Two frames of a 60 Hz display: a status line and a bar read as moving smoothly at 30
// frames a second, and every frame drawn is a round trip to the display server, which a
// machine busy writing thousands of folders answers slowly.
constexpr qint64 kFrameMs = 33;
} // namespace

QString RunWindowAdapter::TargetFolderText() const
{
    return m_window.txtPath->text();
}

QString RunWindowAdapter::HeaderText() const
{
    return m_window.txtHeader->text();
}

QString RunWindowAdapter::FooterText() const
{
    return m_window.txtFooter->text();
}

QString RunWindowAdapter::MinimumText() const
{
    return m_window.txtMin->text();
}

QString RunWindowAdapter::MaximumText() const
{
    return m_window.txtMax->text();
}

QString RunWindowAdapter::DigitCountText() const
{
    return m_window.txtBeam->text();
}

void RunWindowAdapter::SetStatus(const QString& text)
{
    m_window.lblStatus->setText(text);
}

void RunWindowAdapter::SetProgress(float value)
{
    m_window.pbStatus->setValue(qRound(value));
}

bool RunWindowAdapter::Ask(const QString& text)
{
    return ShowMessage(&m_window, text, MessageKind::Question);
}

void RunWindowAdapter::Tell(const QString& text, MessageKind kind)
{
    // The outcome appears over a window that shows the last folder and the full bar.
    pacePainting(false);
    ShowMessage(&m_window, text, kind);
}

void RunWindowAdapter::LockInputs()
{
    m_focusBeforeLock = m_window.focusWidget();
    m_window.LockInputs();
    pacePainting(true);
    m_window.installEventFilter(this);
}

void RunWindowAdapter::UnlockInputs()
{
    m_window.removeEventFilter(this);
    pacePainting(false);
    m_window.UnlockInputs();
    if (m_focusBeforeLock && m_focusBeforeLock->isEnabled())
        m_focusBeforeLock->setFocus(Qt::OtherFocusReason);
}

void RunWindowAdapter::PumpEvents()
{
    const bool drawFrame = m_paced && m_sinceFrame.elapsed() >= kFrameMs;
    if (drawFrame) {
        m_window.lblStatus->adjustSize();
        m_window.lblStatus->setUpdatesEnabled(true);
        m_window.pbStatus->setUpdatesEnabled(true);
    }
    QCoreApplication::processEvents();
    if (drawFrame) {
        m_window.lblStatus->setUpdatesEnabled(false);
        m_window.pbStatus->setUpdatesEnabled(false);
        m_sinceFrame.start();
    }
}

bool RunWindowAdapter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::WindowBlocked && m_paced)
        drawFrame();
    return false;
}

void RunWindowAdapter::drawFrame()
{
    m_window.lblStatus->adjustSize();
    for (QWidget* widget : {static_cast<QWidget*>(m_window.lblStatus),
                            static_cast<QWidget*>(m_window.pbStatus)}) {
        widget->setUpdatesEnabled(true);
        widget->repaint();
        widget->setUpdatesEnabled(false);
    }
    m_sinceFrame.start();
}

void RunWindowAdapter::pacePainting(bool paced)
{
    if (paced == m_paced)
        return;
    m_paced = paced;
    // Measuring the status text costs more than making a folder: paced, the status line
    // takes its size only when it is drawn.
    m_window.lblStatus->setSizingDeferred(paced);
    // Re-enabling updates schedules a paint of each; repaint draws them at once.
    m_window.lblStatus->setUpdatesEnabled(!paced);
    m_window.pbStatus->setUpdatesEnabled(!paced);
    if (!paced) {
        m_window.lblStatus->repaint();
        m_window.pbStatus->repaint();
    }
    m_sinceFrame.start();
}

} // namespace kovaldi
