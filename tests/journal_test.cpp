// The last-run journal: its escaping, its writing, and its reading when it is missing, cut
// short, hand-edited, of another format or a link to elsewhere.
#include "journal/journalfile.h"
#include "journal/journalformat.h"
#include "journal/journallocation.h"
#include "journal/journalreader.h"
#include "journal/journalwriter.h"
#include "process/processexit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

const QByteArray kHeader = "kovaldi-journal 1\nrun 00ff\nstarted 2026-05-04T09:12:30.125Z\n"
                           "target /t\ninput Header img\n";

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

JournalHeader Header()
{
    return {QStringLiteral("0123abcd0123abcd"),
            QDateTime::currentDateTimeUtc(),
            QStringLiteral("/t"),
            QStringLiteral("0000fd0100000000:1f"),
            {{QStringLiteral("Header"), QStringLiteral("a\nb")}, {QStringLiteral("Min"), "1"}}};
}

} // namespace

class JournalTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString Path() const { return m_dir.filePath("last-run.journal"); }

private slots:
    void escaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain, inner spaces kept") << " a b"
                                                  << " a b";
        QTest::newRow("kana") << "写真001"
                              << "写真001";
        QTest::newRow("percent") << "100%"
                                 << "100%25";
        QTest::newRow("line feed and return") << "a\nb\r"
                                              << "a%0Ab%0D";
        QTest::newRow("tab, NUL, DEL") << QString("\t") + QChar(0) + "\x7f"
                                       << "%09%00%7F";
        QTest::newRow("Unicode line breaks")
            << QString(QChar(0x85)) + QChar(0x2028) + QChar(0x2029) << "%85%u2028%u2029";
        QTest::newRow("byte order mark") << QString(QChar(0xFEFF)) + "a"
                                         << "%uFEFFa";
        QTest::newRow("a space at the end") << "a  "
                                            << "a %20";
        QTest::newRow("surrogate pair kept") << "\U0001F4C1"
                                             << "\U0001F4C1";
        QTest::newRow("lone surrogates")
            << QString(QChar(0xD800)) + "x" + QChar(0xDC00) << "%uD800x%uDC00";
    }
    void escaping()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(EscapeJournalText(text), escaped);
        QCOMPARE(UnescapeJournalText(escaped), std::optional<QString>(text));
        QByteArray line = "+ ";
        AppendEscaped(line, text);
        QCOMPARE(line, "+ " + escaped.toUtf8());
    }

    void notEscapedAsWritten_data()
    {
        QTest::addColumn<QString>("escaped");
        QTest::newRow("cut escape") << "a%2";
        QTest::newRow("not hex") << "%zz";
        QTest::newRow("lower-case hex") << "%0a";
        QTest::newRow("escaped needlessly") << "%61";
        QTest::newRow("bare space at the end") << "a ";
        QTest::newRow("bare control character") << "a\tb";
    }
    void notEscapedAsWritten()
    {
        QFETCH(QString, escaped);
        QCOMPARE(UnescapeJournalText(escaped), std::nullopt);
    }

    void writtenAndReadBack()
    {
        const QStringList names{"img001", "line\nbreak", "100%", "end "};
        for (const bool stopped : {false, true}) {
            JournalHeader header = Header();
            header.runId = JournalHeader::NewRunId();
            JournalWriter writer;
            QVERIFY(writer.Start(m_dir.filePath("runs"), header));
            for (const QString& name : names)
                writer.Made(name);
            writer.Finish(stopped, true);
            QVERIFY(writer.HoldsEverything());

            const JournalContents read = ReadJournal(writer.Path());
            QCOMPARE(read.status, JournalContents::Status::Read);
            QCOMPARE(read.header.runId, header.runId);
            QCOMPARE(read.header.target, Header().target);
            QCOMPARE(read.header.identity, Header().identity);
            QCOMPARE(read.header.inputs, Header().inputs);
            QVERIFY(read.header.started.isValid());
            QCOMPARE(read.made, names);
            QVERIFY(read.ended && !read.cut);
            QCOMPARE(read.stopped, stopped);
        }
    }

    // Each row's bytes (after the header when they start with "+") are read as far as valid.
    void readAsFarAsValid_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<JournalContents::Status>("status");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<bool>("cut");
        using S = JournalContents::Status;
        const QByteArray h = kHeader;
        QTest::newRow("whole") << h + "+ a\n+ b\nend done\n"
                               << S::Read << QStringList{"a", "b"} << false;
        QTest::newRow("killed, no end") << h + "+ a\n" << S::Read << QStringList{"a"} << false;
        QTest::newRow("cut in the middle of a line")
            << h + "+ a\n+ b0" << S::Read << QStringList{"a"} << true;
        QTest::newRow("a hand-edited line stops the reading")
            << h + "+ a\nmade b\n+ c\n"
            << S::Read << QStringList{"a"} << true;
        QTest::newRow("an empty name stops it") << h + "+ a\n+ \n+ c\n"
                                                << S::Read << QStringList{"a"} << true;
        QTest::newRow("bytes that are not UTF-8 stop it") << h + "+ a\n+ \xff\n"
                                                          << S::Read << QStringList{"a"} << true;
        QTest::newRow("nothing made after the end") << h + "+ a\nend done\n+ b\n"
                                                    << S::Read << QStringList{"a"} << true;
        QTest::newRow("line ends turned into CR LF")
            << QByteArray(h + "+ a\n").replace("\n", "\r\n") << S::Read << QStringList{"a"}
            << false;
        QTest::newRow("undone in part")
            << h + "+ a\n+ b\n+ c\nend stopped\nundo 2026-05-04T09:20:00.000Z\n- c\n- a\n"
            << S::Read << QStringList{"b"} << false;
        QTest::newRow("an older format") << QByteArray("kovaldi-journal 0\ntarget /t\n+ a\n")
                                         << S::UnknownFormat << QStringList{} << false;
        QTest::newRow("a newer format") << QByteArray(h).replace(" 1\n", " 3\n") + "+ a\n"
                                        << S::UnknownFormat << QStringList{} << false;
        QTest::newRow("not a journal")
            << QByteArray("+ a\n") << S::UnknownFormat << QStringList{} << false;
        QTest::newRow("empty") << QByteArray() << S::UnknownFormat << QStringList{} << false;
        QTest::newRow("more after the version") << QByteArray(h).replace(" 1\n", " 1 x\n")
                                                << S::UnknownFormat << QStringList{} << false;
        QTest::newRow("the version written otherwise")
            << QByteArray(h).replace(" 1\n", " 01\n") << S::UnknownFormat << QStringList{} << false;
        QTest::newRow("a line longer than any name")
            << h + "+ a\n+ " + QByteArray(300000, 'b') + "\n+ c\n"
            << S::Read << QStringList{"a"} << true;
        QTest::newRow("closed with the window") << h + "+ a\nend closed\n"
                                                << S::Read << QStringList{"a"} << false;
        QTest::newRow("format 2 without the target's identity")
            << QByteArray(h).replace(" 1\n", " 2\n") + "+ a\n"
            << S::NoTarget << QStringList{"a"} << false;
        QTest::newRow("format 2") << QByteArray(h).replace(" 1\n", " 2\n") +
                                         "identity 0000fd0100000000:1f\n+ a\n"
                                  << S::Read << QStringList{"a"} << false;
        QTest::newRow("no target")
            << QByteArray("kovaldi-journal 1\n+ a\n") << S::NoTarget << QStringList{"a"} << false;
        QTest::newRow("a relative target")
            << QByteArray(h).replace("target /t", "target t") + "+ a\n"
            << S::NoTarget << QStringList{"a"} << false;
    }
    void readAsFarAsValid()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(Write(Path(), bytes));
        const JournalContents read = ReadJournal(Path());
        QTEST(read.status, "status");
        QTEST(read.NamesLeft(), "left");
        QTEST(read.cut, "cut");
    }

    void notAFile()
    {
        QVERIFY(Write(m_dir.filePath("elsewhere"), kHeader + "+ a\n"));
        QFile::remove(Path());
        QCOMPARE(ReadJournal(Path()).status, JournalContents::Status::Missing);
        QVERIFY(QDir().mkdir(Path()));
        QCOMPARE(ReadJournal(Path()).status, JournalContents::Status::NotAFile);
        QVERIFY(QDir().rmdir(Path()));
#if defined(Q_OS_WIN)
        QSKIP("QFile::link makes a shortcut file here, not a symbolic link");
#endif
        if (!QFile::link(m_dir.filePath("elsewhere"), Path()))
            QSKIP("no symbolic links here");
        QCOMPARE(ReadJournal(Path()).status, JournalContents::Status::NotAFile);
        JournalFile file;
        QCOMPARE(file.Open(Path()), JournalFile::Problem::NotAFile);
        QFile::remove(Path());
    }

    // An undo is recorded only in the journal of its own run, and never joined to a line
    // that was cut short.
    void undoRecorded_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("runId");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QStringList>("left");
        const QByteArray h = kHeader;
        QTest::newRow("ended run") << h + "+ a\n+ b\nend done\n"
                                   << "00ff" << true << QStringList{"a"};
        QTest::newRow("killed in the middle of a line") << h + "+ a\n+ b\n+ c0"
                                                        << "00ff" << true << QStringList{"a"};
        QTest::newRow("another run's journal") << h + "+ a\n+ b\n"
                                               << "0abc" << false << QStringList{"a", "b"};
        QTest::newRow("hand-edited in the middle") << h + "+ a\n+ b\n?\n"
                                                   << "00ff" << false << QStringList{"a", "b"};
    }
    void undoRecorded()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, runId);
        QVERIFY(Write(Path(), bytes));
        {
            JournalFile file;
            QCOMPARE(file.Open(Path()), JournalFile::Problem::None);
            UndoRecord record;
            const bool begun = record.Begin(file, ReadJournal(file), runId);
            record.Removed("b");
            QTEST(begun && record.Flush(), "recorded");
        }
        QTEST(ReadJournal(Path()).NamesLeft(), "left");
    }

    // A later run that could not write its own journal marks the newest one; the mark
    // counts even after a line cut short, which it never makes whole.
    void superseded_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("ended") << kHeader + "+ a\nend done\n" << QStringList{"a"};
        QTest::newRow("cut short by a full disk") << kHeader + "+ a\n+ b0" << QStringList{"a"};
    }
    void superseded()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(Write(Path(), bytes));
        QVERIFY(!ReadJournal(Path()).superseded);
        QVERIFY(MarkJournalSuperseded(Path()));
        const JournalContents read = ReadJournal(Path());
        QVERIFY(read.superseded);
        QTEST(read.NamesLeft(), "left");
    }

    // A name reaches the file within the interval of the clock, read at every folder tried,
    // made or not; before a modal window; and a run that made nothing leaves no journal.
    void writtenOut()
    {
        JournalWriter writer;
        QVERIFY(writer.Start(m_dir.filePath("out"), Header()));
        const QString path = writer.Path();
#if !defined(Q_OS_WIN)
        QCOMPARE(QFileInfo(path).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFileInfo(m_dir.filePath("out")).permissions() & 0x7077,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
        writer.Made("a");
        writer.Tried();
        // Only failures follow: each still reads the clock.
        QTRY_VERIFY_WITH_TIMEOUT((writer.Tried(), ReadJournal(path).made == QStringList{"a"}),
                                 10000);
        writer.Made("b");
        DoBeforeEndWork();
        QCOMPARE(ReadJournal(path).made, (QStringList{"a", "b"}));
        writer.Finish(false, true);

        JournalWriter nothing;
        QVERIFY(nothing.Start(m_dir.filePath("out"), Header()));
        const QString empty = nothing.Path();
        QVERIFY(QFile::exists(empty));
        nothing.Finish(false, false);
        QVERIFY(!QFile::exists(empty));
        QCOMPARE(JournalsNewestFirst(m_dir.filePath("out")), QStringList{path});
    }

    // A journal that cannot be written takes nothing more from the run than a failed open.
    void cannotBeWritten()
    {
        QVERIFY(Write(m_dir.filePath("blocker"), "a file where a folder should be"));
        JournalWriter writer;
        QVERIFY(!writer.Start(m_dir.filePath("blocker/state"), Header()));
        writer.Made("a");
        writer.Finish(false, true);
        QVERIFY(!writer.HoldsEverything());
    }

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    void location_data()
    {
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("path");
        const QString fallback = QDir::homePath() + "/.local/state/Kovaldi";
        QTest::newRow("set") << QByteArray("/s") << "/s/Kovaldi";
        QTest::newRow("unset") << QByteArray() << fallback;
        QTest::newRow("relative, so ignored") << QByteArray("s") << fallback;
    }
    void location()
    {
        QFETCH(QByteArray, stateHome);
        const QByteArray previous = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", stateHome);
        const QString path = DefaultJournalFolder();
        qputenv("XDG_STATE_HOME", previous);
        QTEST(path, "path");
    }
#endif
};

QTEST_GUILESS_MAIN(JournalTest)
#include "journal_test.moc"
