#include "windowfixture.h"

#include "mainwindow/mainwindow.h"
#include "widgets/autosizelabel.h"
#include "widgets/updown.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace kovaldi::test {

namespace {

template <typename Control> Control* Find(const QWidget& window, const QString& name)
{
    auto* control = window.findChild<Control*>(name);
    if (!control)
        qFatal("the main window has no control %s of the expected kind", qPrintable(name));
    return control;
}

} // namespace

bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

MainWindowControls::MainWindowControls(MainWindow& window)
    : window(window), Command1(Find<QPushButton>(window, QStringLiteral("Command1"))),
      FrameMain(Find<QGroupBox>(window, QStringLiteral("FrameMain"))),
      lblStatus(Find<AutoSizeLabel>(window, QStringLiteral("lblStatus"))),
      pbStatus(Find<QProgressBar>(window, QStringLiteral("pbStatus"))),
      cmdEnd(Find<QPushButton>(window, QStringLiteral("cmdEnd"))),
      lblPath(Find<AutoSizeLabel>(window, QStringLiteral("lblPath"))),
      txtPath(Find<QLineEdit>(window, QStringLiteral("txtPath"))),
      cmdBrowse(Find<QPushButton>(window, QStringLiteral("cmdBrowse"))), lblETC{},
      txtHeader(Find<QLineEdit>(window, QStringLiteral("txtHeader"))),
      txtMin(Find<QLineEdit>(window, QStringLiteral("txtMin"))),
      txtBeam(Find<QLineEdit>(window, QStringLiteral("txtBeam"))),
      udBeam(Find<UpDown>(window, QStringLiteral("udBeam"))),
      txtFooter(Find<QLineEdit>(window, QStringLiteral("txtFooter"))),
      txtMax(Find<QLineEdit>(window, QStringLiteral("txtMax"))),
      cmdMake(Find<QPushButton>(window, QStringLiteral("cmdMake"))),
      lblTest(Find<QLabel>(window, QStringLiteral("lblTest"))),
      cmdOptions(Find<QPushButton>(window, QStringLiteral("cmdOptions"))),
      cmdList(Find<QPushButton>(window, QStringLiteral("cmdList"))),
      lblOptions(Find<QLabel>(window, QStringLiteral("lblOptions")))
{
    for (int i = 0; i < int(lblETC.size()); ++i)
        lblETC[i] = Find<AutoSizeLabel>(window, QStringLiteral("lblETC(%1)").arg(i));
}

QList<QLineEdit*> MainWindowControls::boxes() const
{
    return {txtPath, txtHeader, txtFooter, txtMin, txtMax, txtBeam};
}

QStringList MainWindowControls::boxTexts() const
{
    QStringList texts;
    for (const QLineEdit* box : boxes())
        texts << box->text();
    return texts;
}

void MainWindowControls::setBoxTexts(const QStringList& texts) const
{
    const QList<QLineEdit*> all = boxes();
    for (int i = 0; i < texts.size(); ++i)
        all[i]->setText(texts[i]);
}

QString MainWindowControls::lockMismatch(bool locked, const QWidget* except) const
{
    QList<QWidget*> inputs{cmdMake,   cmdEnd, cmdBrowse, FrameMain, txtPath, txtHeader,
                           txtFooter, txtMin, txtMax,    txtBeam,   udBeam,  lblPath};
    for (QWidget* label : lblETC)
        inputs << label;
    for (QWidget* input : inputs << lblTest)
        if (input != except && input->isEnabled() == locked)
            return input->objectName() + (locked ? " is enabled" : " is disabled");
    if (!Command1->isEnabled())
        return QStringLiteral("Command1 is disabled");
    if (pbStatus->isVisible() != locked)
        return QStringLiteral("the bar is shown: %1").arg(!locked);
    if (cmdOptions->isVisible() == locked)
        return QStringLiteral("cmdOptions is shown: %1").arg(locked);
    if (cmdList->isVisible() == locked)
        return QStringLiteral("cmdList is shown: %1").arg(locked);
    if (!locked && (pbStatus->value() != 0 || !lblStatus->text().isEmpty()))
        return QStringLiteral("left over: bar %1, status \"%2\"")
            .arg(pbStatus->value())
            .arg(lblStatus->text());
    return {};
}

MainWindowFixture::MainWindowFixture() = default;
MainWindowFixture::~MainWindowFixture() = default;

const MainWindowControls& MainWindowFixture::create(SettingsStore& settings)
{
    m_controls.reset();
    m_window = std::make_unique<MainWindow>(settings);
    return m_controls.emplace(*m_window);
}

const MainWindowControls& MainWindowFixture::show(SettingsStore& settings)
{
    const MainWindowControls& controls = create(settings);
    if (!ShowActive(*m_window))
        qWarning("window did not become active");
    return controls;
}

void MainWindowFixture::reset()
{
    m_controls.reset();
    m_window.reset();
}

} // namespace kovaldi::test
