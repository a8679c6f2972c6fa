#include "mainwindow/runwindowadapter.h"

#include "desktop/messagebox.h"
#include "journal/journalreader.h"
#include "mainwindow/runtexts.h"
#include "process/processexit.h"
#include "run/runresult.h"
#include "undo/undo.h"
#include "widgets/autosizelabel.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace kovaldi {

namespace {

// During a run, the progress bar's value changes reach assistive technology at each tenth
// only, which a screen reader can announce as it goes, rather than at every percent.
QPointer<QProgressBar> g_announcedBar;
int g_announcedTenth = 0;
QAccessible::UpdateHandler g_previousHandler = nullptr;

void AnnounceTenths(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::ValueChanged && g_announcedBar &&
        event->object() == g_announcedBar) {
        const QProgressBar& bar = *g_announcedBar;
        const int tenth =
            (bar.value() - bar.minimum()) * 10 / std::max(1, bar.maximum() - bar.minimum());
        if (tenth == g_announcedTenth)
            return;
        g_announcedTenth = tenth;
    }
    if (g_previousHandler) {
        g_previousHandler(event);
        return;
    }
    // The platform's own handling, which only runs without a handler.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&AnnounceTenths);
}

void AnnounceTenthsOf(QProgressBar* bar)
{
    if (bar) {
        g_announcedBar = bar;
        g_announcedTenth = 0;
        g_previousHandler = QAccessible::installUpdateHandler(&AnnounceTenths);
    } else {
        QAccessible::installUpdateHandler(g_previousHandler);
        g_announcedBar = nullptr;
    }
}

} // namespace

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
        m_parts.status->setText(NameForDisplay(name) + doing);
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
        m_latestStatus = NameForDisplay(m_latestName) + m_latestDoing;
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
    UndoPlan plan = PlanFromRun(result);
    while (ShowMessage(m_parts.window, text, kind, extras) == MessageAnswer::Extra)
        if (undoRun(plan))
            return;
}

namespace {

// An undo as the window follows it: the status line names the folder being removed, the
// bar moves, and the event loop runs at the run's pace.
class WindowUndo : public UndoObserver
{
public:
    WindowUndo(RunWindow& window, const bool& stopRequested, qint64 total)
        : m_window(window), m_stopRequested(stopRequested), m_total(total)
    {}
    void Removing(const QString& name, qint64 tried) override
    {
        m_tried = tried;
        m_window.SetFolderStatus(name, QStringLiteral(" 削除中・・・"));
        m_window.PumpEvents();
    }
    void Removed(const QString& name, const RemoveResult& result) override
    {
        Q_UNUSED(name);
        Q_UNUSED(result);
        if (m_total > 1)
            m_window.SetProgress(float(double(m_tried) / double(m_total - 1) * 100));
        m_window.PumpEvents();
    }
    bool StopRequested() override { return m_stopRequested; }

private:
    RunWindow& m_window;
    const bool& m_stopRequested;
    qint64 m_total;
    qint64 m_tried = 0;
};

} // namespace

bool RunWindowAdapter::undoRun(UndoPlan& plan)
{
    if (ShowMessage(m_parts.window, UndoQuestion(plan.names.size()), MessageKind::Question,
                    {.informativeText = UndoQuestionDetails()}) != MessageAnswer::Accepted)
        return false;

    // The run's journal, when it can be trusted and nothing else holds it, records what
    // the undo removes as it goes.
    JournalFile journal;
    UndoRecord record;
    if (!plan.journalPath.isEmpty() && journal.Open(plan.journalPath) == JournalFile::Problem::None)
        record.Begin(journal, ReadJournal(journal), plan.runId);

    // As a run: Make is the stop button, the status line and the bar follow the folders.
    const QString lastFolder = m_parts.status->text();
    m_stopRequested = false;
    SetProgress(0);
    offerStop(true);
    pacePainting(true);
    WindowUndo observer(*this, m_stopRequested, plan.names.size());
    const UndoReport report = Undo(*m_parts.fileSystem, plan, UndoMode::Remove, &observer, &record);
    record.Flush();
    journal.Close();
    pacePainting(false);
    offerStop(false);

    const UndoMessage message = DescribeUndo(report);
    const bool anyLeft = report.stopped && !report.left.isEmpty();
    const MessageExtras extras{.informativeText = message.informativeText,
                               .detailedText = message.detailedText,
                               .extraButton = anyLeft ? QStringLiteral("元に戻す(&U)") : QString()};
    plan.names = report.left;
    while (ShowMessage(m_parts.window, message.text, message.kind, extras) == MessageAnswer::Extra)
        if (undoRun(plan))
            break;
    m_parts.status->setText(lastFolder);
    return true;
}

void RunWindowAdapter::LockInputs()
{
    m_focusBeforeLock = m_parts.window->focusWidget();
    m_parts.lockInputs();
    m_stopRequested = false;
    offerStop(true);
    pacePainting(true);
    QCoreApplication::instance()->installEventFilter(this);
    AnnounceTenthsOf(m_parts.bar);
}

void RunWindowAdapter::UnlockInputs()
{
    QCoreApplication::instance()->removeEventFilter(this);
    pacePainting(false);
    AnnounceTenthsOf(nullptr);
    offerStop(false);
    m_parts.unlockInputs();
    if (m_focusBeforeLock && m_focusBeforeLock->isEnabled())
        m_focusBeforeLock->setFocus(Qt::OtherFocusReason);
}

bool RunWindowAdapter::pumpDue()
{
    if (++m_callsSincePump < kMostFoldersUnpumped && m_sincePump.elapsed() < kPumpMs)
        return false;
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
    if (event->type() == QEvent::WindowBlocked) {
        if (watched == m_parts.window) {
            // The journal too is written out before the window waits.
            DoBeforeEndWork();
            if (m_paced)
                drawFrame();
        }
        return false;
    }
    if (!m_stopOffered ||
        (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress))
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_parts.window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (!(key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) &&
        !(key->key() == Qt::Key_M && modifiers == Qt::AltModifier))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // a key press for the window, not the access key's delayed click
        return true;
    }
    if (!key->isAutoRepeat())
        RequestStop();
    return true;
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
    m_stopOffered = offered;
    if (offered)
        m_parts.make->setFocus(Qt::OtherFocusReason);
}

void RunWindowAdapter::pacePainting(bool paced)
{
    if (paced == m_paced)
        return;
    showLatest();
    m_paced = paced;
    m_callsSincePump = 0;
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
