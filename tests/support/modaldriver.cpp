#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <deque>

namespace kovaldi::test {

namespace {
void Dismiss(QWidget* modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}
} // namespace

struct ModalDriver::State
{
    struct Expected
    {
        Answer answer;
        int timeoutMs;
    };
    std::deque<Expected> queue;
    QDeadlineTimer deadline;
    QPointer<QWidget> lastAnswered;
    QTimer timer;
};

ModalDriver::ModalDriver() : m_state(new State)
{
    m_state->timer.setInterval(5);
    QObject::connect(&m_state->timer, &QTimer::timeout, [this] {
        auto& queue = m_state->queue;
        if (queue.empty()) {
            m_state->timer.stop();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != m_state->lastAnswered && modal->isVisible()) {
            const Answer answer = queue.front().answer;
            queue.pop_front();
            m_state->lastAnswered = modal;
            if (!queue.empty())
                m_state->deadline.setRemainingTime(queue.front().timeoutMs);
            const QPointer<QWidget> answered = modal;
            answer(modal);
            // A failed check returns from the answer before it closes the window: it is
            // dismissed here, so that the test reports the failure instead of hanging.
            if (answered && answered->isVisible() && QTest::currentTestFailed())
                Dismiss(answered);
            return;
        }
        if (m_state->deadline.hasExpired()) {
            m_failures << QStringLiteral("no modal window appeared in time");
            queue.pop_front();
            if (!queue.empty())
                m_state->deadline.setRemainingTime(queue.front().timeoutMs);
        }
    });
}

ModalDriver::~ModalDriver()
{
    delete m_state;
}

void ModalDriver::expect(Answer answer, int timeoutMs)
{
    if (m_state->queue.empty())
        m_state->deadline.setRemainingTime(timeoutMs);
    m_state->queue.push_back({std::move(answer), timeoutMs});
    m_state->timer.start();
}

void ModalDriver::expectMessage(QMessageBox::StandardButton press, int timeoutMs)
{
    expectMessage([press](QMessageBox* box) { return box->button(press); }, timeoutMs);
}

void ModalDriver::expectMessage(QMessageBox::StandardButton press, const Look& look)
{
    expectMessage([press](QMessageBox* box) { return box->button(press); }, 10000, look);
}

void ModalDriver::expectMessage(const QString& caption, int timeoutMs)
{
    expectMessage(
        [caption](QMessageBox* box) -> QAbstractButton* {
            for (QAbstractButton* button : box->buttons())
                if (button->text() == caption)
                    return button;
            return nullptr;
        },
        timeoutMs);
}

void ModalDriver::expectMessage(const std::function<QAbstractButton*(QMessageBox*)>& button,
                                int timeoutMs, const Look& look)
{
    expect(
        [this, button, look](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                m_failures << QStringLiteral("expected a message box, got %1")
                                  .arg(QString::fromLatin1(modal->metaObject()->className()));
                Dismiss(modal);
                return;
            }
            m_messages << Describe(box);
            m_shown << Read(box);
            if (look)
                look(box);
            if (QAbstractButton* press = button(box)) {
                press->click();
            } else {
                m_failures << QStringLiteral("message box without the button to press");
                Dismiss(box);
            }
        },
        timeoutMs);
}

ModalDriver::Shown ModalDriver::Read(const QMessageBox* box)
{
    Shown shown{box->informativeText(), box->detailedText(), {}, {}};
    for (const QAbstractButton* button : box->buttons())
        shown.captions << button->text();
    for (const QTextEdit* details : box->findChildren<QTextEdit*>())
        if (details->focusPolicy() & Qt::TabFocus)
            shown.detailsName = details->accessibleName();
    return shown;
}

int ModalDriver::pending() const
{
    return int(m_state->queue.size());
}

QString ModalDriver::Describe(const QMessageBox* box)
{
    QString icon;
    switch (box->icon()) {
    case QMessageBox::Warning:
        icon = QStringLiteral("warning");
        break;
    case QMessageBox::Question:
        icon = QStringLiteral("question");
        break;
    case QMessageBox::Information:
        icon = QStringLiteral("information");
        break;
    case QMessageBox::Critical:
        icon = QStringLiteral("error");
        break;
    default:
        icon = QStringLiteral("none");
    }
    QStringList buttons;
    for (const auto& [button, name] :
         {std::pair{QMessageBox::Ok, "Ok"}, {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"}})
        if (box->button(button))
            buttons << QLatin1String(name);
    QString defaultButton;
    if (const QAbstractButton* pressedByEnter = box->defaultButton())
        defaultButton = pressedByEnter == box->button(QMessageBox::Yes)  ? "Yes"
                        : pressedByEnter == box->button(QMessageBox::No) ? "No"
                                                                         : "Ok";
    return QStringList{icon, box->text(), box->windowTitle(), buttons.join(QLatin1Char(',')),
                       defaultButton}
        .join(QLatin1Char('|'));
}

} // namespace kovaldi::test
