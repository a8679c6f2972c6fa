#pragma once

#include <QWidget>

class QLabel;

namespace kovaldi {

// A one-line plain-text label that takes the size of its text whenever the text or the
// font changes. It holds a QLabel rather than being one: QLabel::setText is not virtual,
// so a label reached through a QLabel pointer or a signal would keep its old size.
class AutoSizeLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit AutoSizeLabel(const QString& text, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // The control this label names, for assistive technology.
    void setBuddy(QWidget* buddy);
    QWidget* buddy() const;

    // While sizing is deferred, a new text shows within the present size and the label
    // takes the size of its text at adjustSize() or when deferring ends: for a text that
    // changes faster than the eye can follow, where measuring every one costs more than
    // the work it reports.
    void setSizingDeferred(bool deferred);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tells assistive technology of a new text once it is drawn: a text that changes faster
    // than it is drawn (a run's status line) is announced no more often than it is drawn.
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_label;
    QString m_announced;
    bool m_sizingDeferred = false;
};

} // namespace kovaldi
