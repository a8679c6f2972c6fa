#include "widgets/updown.h"

#include "numbers/numbertext.h"
#include "widgets/accessiblewidgets.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSpinBox>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace kovaldi {

namespace {
constexpr int kFirstRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 60;
} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    InstallAccessibleInterfaces();
}

void UpDown::setBuddy(QLineEdit* buddy)
{
    if (m_buddy)
        disconnect(m_buddy.get(), nullptr, this, nullptr);
    m_buddy = buddy;
    if (m_buddy)
        connect(m_buddy.get(), &QLineEdit::textChanged, this, &UpDown::buddyChanged);
    m_announced = position();
    update();
}

void UpDown::buddyChanged()
{
    update();
    const int now = position();
    if (now == m_announced)
        return;
    m_announced = now;
    QAccessibleValueChangeEvent changed(this, now);
    QAccessible::updateAccessibility(&changed);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    update();
}

int UpDown::position() const
{
    if (!m_buddy)
        return m_minimum;
    const std::optional<double> value = ParseNumericText(m_buddy->text());
    if (!value)
        return m_minimum;
    return static_cast<int>(std::clamp(std::floor(*value), double(m_minimum), double(m_maximum)));
}

void UpDown::stepBy(int steps)
{
    if (!m_buddy || !isEnabled())
        return;
    const int current = position();
    const int next = std::clamp(current + steps, m_minimum, m_maximum);
    if (next != current)
        m_buddy->setText(QString::number(next));
}

QSize UpDown::sizeHint() const
{
    return {16, 22};
}

void UpDown::initStyleOption(QStyleOptionSpinBox* option) const
{
    option->initFrom(this);
    option->frame = false;
    option->buttonSymbols = QAbstractSpinBox::UpDownArrows;
    option->subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option->activeSubControls = m_pressed;
    if (m_pressed != QStyle::SC_None)
        option->state |= QStyle::State_Sunken;
    const int current = position();
    option->stepEnabled = QAbstractSpinBox::StepNone;
    if (current < m_maximum)
        option->stepEnabled |= QAbstractSpinBox::StepUpEnabled;
    if (current > m_minimum)
        option->stepEnabled |= QAbstractSpinBox::StepDownEnabled;
}

void UpDown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionSpinBox option;
    initStyleOption(&option);

    // Two stacked buttons, each with its arrow, drawn the style's way.
    const QRect up(0, 0, width(), height() / 2);
    const QRect down(0, height() / 2, width(), height() - height() / 2);
    const struct
    {
        QRect rect;
        QStyle::SubControl control;
        QStyle::PrimitiveElement arrow;
        bool enabled;
    } buttons[] = {
        {up, QStyle::SC_SpinBoxUp, QStyle::PE_IndicatorArrowUp,
         bool(option.stepEnabled & QAbstractSpinBox::StepUpEnabled)},
        {down, QStyle::SC_SpinBoxDown, QStyle::PE_IndicatorArrowDown,
         bool(option.stepEnabled & QAbstractSpinBox::StepDownEnabled)},
    };
    for (const auto& button : buttons) {
        QStyleOptionButton face;
        face.initFrom(this);
        face.rect = button.rect;
        face.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        face.state |= m_pressed == button.control ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &face, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = button.rect.adjusted(3, 2, -3, -2);
        if (!button.enabled || !isEnabled())
            arrow.state &= ~QStyle::State_Enabled;
        style()->drawPrimitive(button.arrow, &arrow, &painter, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void UpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed =
        event->position().y() < height() / 2 ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown;
    stepBy(m_pressed == QStyle::SC_SpinBoxUp ? 1 : -1);
    m_repeat.start(kFirstRepeatDelayMs, this);
    update();
}

void UpDown::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        stopRepeat();
}

void UpDown::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        stepBy(1);
        break;
    case Qt::Key_Down:
        stepBy(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void UpDown::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0)
        stepBy(delta > 0 ? 1 : -1);
    event->accept();
}

void UpDown::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_repeat.timerId())
        return QWidget::timerEvent(event);
    // A modal window or a popup over this one takes the mouse, and with it the release
    // that would have ended the repeat.
    const QWidget* over = QApplication::activePopupWidget();
    if (!over)
        over = QApplication::activeModalWidget();
    if (over && over != window() && !over->isAncestorOf(this)) {
        stopRepeat();
        return;
    }
    m_repeat.start(kRepeatIntervalMs, this);
    stepBy(m_pressed == QStyle::SC_SpinBoxUp ? 1 : -1);
}

void UpDown::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if ((event->type() == QEvent::EnabledChange && !isEnabled()) ||
        (event->type() == QEvent::ActivationChange && !isActiveWindow()))
        stopRepeat();
}

void UpDown::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    stopRepeat();
}

void UpDown::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    stopRepeat();
}

void UpDown::stopRepeat()
{
    m_repeat.stop();
    m_pressed = QStyle::SC_None;
    update();
}

} // namespace kovaldi
