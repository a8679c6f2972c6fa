#pragma once

#include <QBasicTimer>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QWidget>

class QLineEdit;
class QStyleOptionSpinBox;

namespace kovaldi {

// A small up-down control bound to a text box (its buddy). It shows no number of its
// own: its position is the number in the buddy, and each step writes the new number
// into the buddy as plain decimal text, so the buddy's change handling runs as for
// typed text. No wrap-around: a step past either end changes nothing.
//
// A buddy holding a number outside the range counts as standing at the nearest end,
// so the first step moves inward from there (50 steps down to 9 in 0..10, -5 up to 1);
// a buddy holding no number counts as standing at the lower end.
//
// Holding an arrow down repeats its step until the spinner loses the mouse: the button is
// released (anywhere), a modal window or popup opens over it, it loses the focus, its
// window loses activation, or it is hidden or disabled.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void setBuddy(QLineEdit* buddy);
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // The buddy's number, clamped to the range.
    int position() const;
    void stepBy(int steps);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void initStyleOption(QStyleOptionSpinBox* option) const;
    void stopRepeat();
    // Redraws the arrows, and tells assistive technology when the position has changed.
    void buddyChanged();

    // Emptied when the buddy goes first, as it may while the window is torn down.
    QPointer<QLineEdit> m_buddy;
    int m_minimum = 0;
    int m_maximum = 10;
    QStyle::SubControl m_pressed = QStyle::SC_None;
    QBasicTimer m_repeat;
    int m_announced = 0;
};

} // namespace kovaldi
