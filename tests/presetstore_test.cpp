// The presets file as the window and kovaldi-cli keep it: real files in a temporary folder.
#include "presets/presetstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kovaldi::Preset;
using kovaldi::PresetFileState;
using kovaldi::PresetStore;

class PresetStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void savedAndRead();
    void damagedKept_data();
    void damagedKept();
};

void PresetStoreTest::savedAndRead()
{
    QTemporaryDir dir;
    const PresetStore store(dir.filePath(QStringLiteral("new/Kovaldi/presets.json")));
    QCOMPARE(store.Read().state, PresetFileState::Missing);
    QList<Preset> presets{{"z", {{"Header", "a\nb"}, {"Min", "１"}}}, {"写真", {}}};
    presets = kovaldi::WithPreset(presets, {"m", {{"Footer", "\t"}}});
    presets = kovaldi::WithPreset(presets, {"z", {{"Header", "c"}}}); // keeps its place
    QVERIFY(store.Save(presets));
    const kovaldi::PresetFile file = store.Read();
    QCOMPARE(file.state, PresetFileState::Read);
    QCOMPARE(file.presets.size(), 3);
    QCOMPARE(file.presets[0].Value("Header"), std::optional<QString>("c"));
    QCOMPARE(file.presets[1].name, QStringLiteral("写真"));
    QCOMPARE(file.presets[2].Value("Footer"), std::optional<QString>("\t"));
    QVERIFY(store.Save(kovaldi::WithoutPreset(file.presets, "写真")));
    QCOMPARE(store.Read().presets.size(), 2);
    // A name that is empty, only blanks or has blanks at an end is never stored.
    QVERIFY(!store.Save({{" ", {}}}));
    QVERIFY(!store.Save({{" a", {}}}));
    QCOMPARE(kovaldi::PresetName(QStringLiteral("\u3000 a \t")), QStringLiteral("a"));
}

void PresetStoreTest::damagedKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<PresetFileState>("state");
    QTest::newRow("not JSON") << QByteArray("presets") << PresetFileState::Damaged;
    QTest::newRow("an array") << QByteArray("[]") << PresetFileState::Foreign;
    QTest::newRow("a later version")
        << QByteArray(R"({"format":"kovaldi-presets","version":2,"presets":[]})")
        << PresetFileState::Foreign;
    QTest::newRow("a name twice") << QByteArray(
                                         R"({"format":"kovaldi-presets","version":1,"presets":[)"
                                         R"({"name":"a","values":{}},{"name":" a","values":{}}]})")
                                  << PresetFileState::Foreign;
    QTest::newRow("a number for a text")
        << QByteArray(R"({"format":"kovaldi-presets","version":1,"presets":[)"
                      R"({"name":"a","values":{"Min":1}}]})")
        << PresetFileState::Foreign;
}

void PresetStoreTest::damagedKept()
{
    QFETCH(QByteArray, content);
    QFETCH(PresetFileState, state);
    QTemporaryDir dir;
    const PresetStore store(dir.filePath(QStringLiteral("presets.json")));
    QFile file(store.Path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(store.Read().state, state);
    QVERIFY(!store.Save({{"b", {}}}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    file.close();
    // Once the user has said so, the file is replaced.
    QVERIFY(store.Save({{"b", {}}}, true));
    QCOMPARE(store.Read().presets.size(), 1);
}

QTEST_GUILESS_MAIN(PresetStoreTest)
#include "presetstore_test.moc"
