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

    // Seen message boxes, one line each: "<icon>|<text>|<title>|<buttons>|<default>".
    const QStringList& messages() const { return m_messages; }
    const QStringList& failures() const { return m_failures; }
    int pending() const;

    static QString Describe(const QMessageBox* box);

private:
    struct State;
    State* m_state;
    QStringList m_messages;
    QStringList m_failures;
};

} // namespace kovaldi::test
