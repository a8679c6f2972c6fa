#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

namespace kovaldi::test {

// Answers modal windows that the code under test opens, from a polling timer that also
// runs inside their nested event loops. Each expected window is answered once, in order;
// a window that does not appear before the deadline is recorded as a failure. A window
// still open after its answer failed a check (QVERIFY and QCOMPARE return from the
// answer) is dismissed, so a failing test never waits on it.
class ModalDriver
{
public:
    using Answer = std::function<void(QWidget* modal)>;

    ModalDriver();
    ~ModalDriver();

    void expect(Answer answer, int timeoutMs = 10000);

    // Answers the next message box with the given button and records what it showed.
    void expectMessage(QMessageBox::StandardButton press, int timeoutMs = 10000);
    // The same, pressing the button with this caption.
    void expectMessage(const QString& caption, int timeoutMs = 10000);
    // The same, calling look with the box before pressing.
    using Look = std::function<void(QMessageBox* box)>;
    void expectMessage(QMessageBox::StandardButton press, const Look& look);

    // What a message box shows besides Describe.
    struct Shown
    {
        QString informative;
        QString details;
        QStringList captions; // of all its buttons
        QString detailsName;  // of the details list, when Tab reaches it
    };
    static Shown Read(const QMessageBox* box);

    // Seen message boxes, one line each: "<icon>|<text>|<title>|<buttons>|<default>".
    const QStringList& messages() const { return m_messages; }
    const QList<Shown>& shown() const { return m_shown; }
    const QStringList& failures() const { return m_failures; }
    int pending() const;

    static QString Describe(const QMessageBox* box);

private:
    struct State;
    State* m_state;
    void expectMessage(const std::function<QAbstractButton*(QMessageBox*)>& button, int timeoutMs,
                       const Look& look = {});

    QStringList m_messages;
    QList<Shown> m_shown;
    QStringList m_failures;
};

} // namespace kovaldi::test
