#include "mainwindow/runwindowadapter.h"

#include "desktop/messagebox.h"
#include "mainwindow/runtexts.h"
#include "run/runresult.h"
#include "undo/undo.h"
#include "widgets/autosizelabel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

namespace kovaldi {

RunWindowAdapter::RunWindowAdapter(Parts parts) : m_parts(std::move(parts)) {}

RunWindowAdapter::~RunWindowAdapter() = default;

QString RunWindowAdapter::TargetFolderText() const
{
    return m_parts.target->text();
}

QString RunWindowAdapter::HeaderText() const
{
    return m_parts.header->text();
}

QString RunWindowAdapter::FooterText() const
{
    return m_parts.footer->text();
}

QString RunWindowAdapter::MinimumText() const
{
    return m_parts.minimum->text();
}

QString RunWindowAdapter::MaximumText() const
{
    return m_parts.maximum->text();
}

QString RunWindowAdapter::DigitCountText() const
{
    return m_parts.digitCount->text();
}

void RunWindowAdapter::SetStatus(const QString& text)
{
    if (m_paced) {
        m_latestStatus = text;
        m_latestName.clear();
        m_latestDoing.clear();
        m_latestShown = false;
    } else {
        m_parts.status->setText(text);
    }
}

void RunWindowAdapter::SetFolderStatus(const QString& name, const QString& doing)
{
    if (m_paced) {
        // Joined only when shown.
        m_latestName = name;
        m_latestDoing = doing;
        m_latestShown = false;
    } else {
        m_parts.status->setText(name + doing);
    }
}

void RunWindowAdapter::SetProgress(float value)
{
    if (m_paced) {
        m_latestValue = qRound(value);
        m_latestShown = false;
    } else {
        m_parts.bar->setValue(qRound(value));
    }
}

void RunWindowAdapter::showLatest()
{
    if (m_latestShown)
        return;
    if (!m_latestName.isEmpty() || !m_latestDoing.isEmpty())
        m_latestStatus = m_latestName + m_latestDoing;
    m_parts.status->setText(m_latestStatus);
    m_parts.bar->setValue(m_latestValue);
    m_latestShown = true;
}

bool RunWindowAdapter::Ask(const QString& text)
{
    return ShowMessage(m_parts.window, text, MessageKind::Question);
}

void RunWindowAdapter::Tell(const QString& text, MessageKind kind)
{
    ShowMessage(m_parts.window, text, kind);
}

bool RunWindowAdapter::Confirm(const QString& question, const RunFigures& figures)
{
    return ShowMessage(m_parts.window, question, MessageKind::Question,
                       {.informativeText = ConfirmationDetails(figures)}) ==
           MessageAnswer::Accepted;
}

void RunWindowAdapter::TellOutcome(const QString& text, MessageKind kind, const RunResult& result)
{
    // The outcome appears over a window that shows the last folder and the full bar, with
    // every input locked, Make too: nothing is left to stop.
    pacePainting(false);
    offerStop(false);
    const MessageExtras extras{.informativeText = OutcomeCounts(result),
                               .detailedText = FailureDetails(result.failures),
                               .extraButton =
                                   result.made > 0 ? QStringLiteral("元に戻す(&U)") : QString()};
    // Declining the undo's question leads back to the outcome.
    while (ShowMessage(m_parts.window, text, kind, extras) == MessageAnswer::Extra)
        if (undoRun(result))
            return;
}

bool RunWindowAdapter::undoRun(const RunResult& result)
{
    const UndoPlan plan = PlanFromRun(result);
    if (ShowMessage(m_parts.window, UndoQuestion(plan.names.size()), MessageKind::Question,
                    {.informativeText = UndoQuestionDetails()}) != MessageAnswer::Accepted)
        return false;

    const QString lastFolder = m_parts.status->text();
    m_parts.status->setText(QStringLiteral("元に戻しています・・・"));
    m_parts.status->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UndoReport report = Undo(*m_parts.fileSystem, plan, UndoMode::Remove);
    QApplication::restoreOverrideCursor();
    m_parts.status->setText(lastFolder);

    const UndoMessage message = DescribeUndo(report);
    ShowMessage(m_parts.window, message.text, message.kind,
                {.informativeText = message.informativeText, .detailedText = message.detailedText});
    return true;
}

void RunWindowAdapter::LockInputs()
{
    m_focusBeforeLock = m_parts.window->focusWidget();
    m_parts.lockInputs();
    m_stopRequested = false;
    offerStop(true);
    pacePainting(true);
    m_parts.window->installEventFilter(this);
}

void RunWindowAdapter::UnlockInputs()
{
    m_parts.window->removeEventFilter(this);
    pacePainting(false);
    offerStop(false);
    m_parts.unlockInputs();
    if (m_focusBeforeLock && m_focusBeforeLock->isEnabled())
        m_focusBeforeLock->setFocus(Qt::OtherFocusReason);
}

bool RunWindowAdapter::pumpDue()
{
    ++m_callsSincePump;
    if (--m_callsUntilLook > 0 && m_callsSincePump < 2 * kMostFoldersUnpumped)
        return false;
    m_callsUntilLook = m_callsPerLook;
    if (m_callsSincePump < 2 * kMostFoldersUnpumped && m_sincePump.elapsed() < kPumpMs)
        return false;
    // About four looks at the clock per interval at the pace of the last one; every call
    // when a single folder takes a good part of the interval.
    m_callsPerLook = std::clamp(m_callsSincePump / 4, 1, 256);
    m_callsUntilLook = m_callsPerLook;
    m_callsSincePump = 0;
    m_sincePump.start();
    return true;
}

void RunWindowAdapter::PumpEvents()
{
    if (m_paced) {
        if (!pumpDue())
            return;
        showLatest();
    }
    const bool drawFrame = m_paced && m_sinceFrame.elapsed() >= kFrameMs;
    if (drawFrame) {
        m_parts.status->adjustSize();
        m_parts.status->setUpdatesEnabled(true);
        m_parts.bar->setUpdatesEnabled(true);
    }
    QCoreApplication::processEvents();
    if (drawFrame) {
        m_parts.status->setUpdatesEnabled(false);
        m_parts.bar->setUpdatesEnabled(false);
        m_sinceFrame.start();
    }
}

bool RunWindowAdapter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parts.window && event->type() == QEvent::WindowBlocked && m_paced)
        drawFrame();
    return false;
}

void RunWindowAdapter::drawFrame()
{
    showLatest();
    m_parts.status->adjustSize();
    for (QWidget* widget :
         {static_cast<QWidget*>(m_parts.status), static_cast<QWidget*>(m_parts.bar)}) {
        widget->setUpdatesEnabled(true);
        widget->repaint();
        widget->setUpdatesEnabled(false);
    }
    m_sinceFrame.start();
}

void RunWindowAdapter::offerStop(bool offered)
{
    m_parts.make->setText(offered ? QStringLiteral("中止(&M)") : QStringLiteral("作成(&M)"));
    m_parts.make->setEnabled(offered);
    if (offered) {
        m_escape = std::make_unique<QShortcut>(QKeySequence(Qt::Key_Escape), m_parts.window);
        connect(m_escape.get(), &QShortcut::activated, this, &RunWindowAdapter::RequestStop);
    } else {
        m_escape.reset();
    }
}

void RunWindowAdapter::pacePainting(bool paced)
{
    if (paced == m_paced)
        return;
    showLatest();
    m_paced = paced;
    m_callsSincePump = 0;
    m_callsUntilLook = m_callsPerLook = 1;
    m_sincePump.start();
    // Measuring the status text costs more than making a folder: paced, the status line
    // takes its size only when it is drawn.
    m_parts.status->setSizingDeferred(paced);
    // Re-enabling updates schedules a paint of each; repaint draws them at once.
    m_parts.status->setUpdatesEnabled(!paced);
    m_parts.bar->setUpdatesEnabled(!paced);
    if (!paced) {
        m_parts.status->repaint();
        m_parts.bar->repaint();
    }
    m_sinceFrame.start();
}

} // namespace kovaldi
