#include "mainwindow/mainwindow.h"

#include "about/aboutwindow.h"
#include "desktop/appearance.h"
#include "files/localfilesystem.h"
#include "lists/listdialog.h"
#include "lists/listrun.h"
#include "mainwindow/runtexts.h"
#include "mainwindow/runwindowadapter.h"
#include "naming/naming.h"
#include "numbers/numbertext.h"
#include "options/settingsdialog.h"
#include "paths/homeshorthandfilesystem.h"
#include "paths/itemtarget.h"
#include "paths/targetdefaults.h"
#include "picker/folderchooser.h"
#include "process/processexit.h"
#include "process/programfolder.h"
#include "run/batchrun.h"
#include "settings/settingsstore.h"
#include "version.h"
#include "widgets/accessiblewidgets.h"
#include "widgets/autosizelabel.h"
#include "widgets/onelinebox.h"
#include "widgets/updown.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <functional>
#include <limits>
#include <optional>

namespace kovaldi {

namespace {

QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

template <typename Widget> Widget* Place(Widget* widget, const QString& name, QPoint twipsTopLeft)
{
    widget->setObjectName(name);
    widget->move(Twips(twipsTopLeft.x()), Twips(twipsTopLeft.y()));
    return widget;
}

template <typename Widget> Widget* Place(Widget* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QLineEdit* NewTextBox(const QString& name, QWidget* parent, const QRect& geometry,
                      AutoSizeLabel* caption)
{
    // A box starts with its own name as its text; the load handling replaces it.
    auto* box = Place(new OneLineBox(name, parent), name, geometry);
    box->setAccessibleName(caption->text());
    caption->setBuddy(box);
    return box;
}

// The target text a drop gives: a folder's own path, or the folder of a file. Nothing for
// anything else (several items, a remote address, text) or for a path that the one-line
// box cannot hold. What is gone by the time it is dropped is set as dropped, as though it
// had been typed: the run finds it missing then.
std::optional<QString> DroppedTarget(const QMimeData* data, const FileSystem& files)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1)
        return {};
    const std::optional<QString> path = LocalPathOfUrl(urls.first());
    return path ? TargetOfItem(*path, files) : std::nullopt;
}

} // namespace

MainWindow::MainWindow(SettingsStore& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_settings(settings), m_localFileSystem(std::make_unique<LocalFileSystem>()),
      m_fileSystem(m_localFileSystem.get()), m_executableFolder(ExecutableFolder()),
      m_folderChooser(&SystemFolderChooser())
{
    setObjectName(QStringLiteral("frmMain"));
    InstallAccessibleInterfaces();
    setWindowTitle(QStringLiteral("Form1"));
    // The application's icon, when set, is the same picture already decoded.
    setWindowIcon(QApplication::windowIcon().isNull() ? ApplicationIcon()
                                                      : QApplication::windowIcon());
    setFont(JapaneseGothicFont(9));
    setFixedSize(Twips(6690), Twips(3345));
    createControls();
    chainTabOrder();

    // The change handlers are wired before the load handling fills the boxes, so that
    // every fill runs its box's handling.
    connect(txtHeader, &QLineEdit::textChanged, this, &MainWindow::txtHeader_Change);
    connect(txtFooter, &QLineEdit::textChanged, this, &MainWindow::txtFooter_Change);
    connect(txtMin, &QLineEdit::textChanged, this, &MainWindow::txtMin_Change);
    connect(txtMax, &QLineEdit::textChanged, this, &MainWindow::txtMax_Change);
    connect(txtBeam, &QLineEdit::textChanged, this, &MainWindow::txtBeam_Change);
    connect(cmdMake, &QPushButton::clicked, this, &MainWindow::cmdMake_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &MainWindow::cmdBrowse_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &MainWindow::cmdEnd_Click);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(cmdOptions, &QPushButton::clicked, this, &MainWindow::cmdOptions_Click);
    connect(cmdList, &QPushButton::clicked, this, &MainWindow::cmdList_Click);
    for (QLineEdit* box : {txtPath, txtHeader, txtFooter, txtMin, txtMax, txtBeam}) {
        box->installEventFilter(this);
        // A drop over a box is the window's: it names the target, whichever box it is over.
        box->setAcceptDrops(false);
    }
    setAcceptDrops(true);
    // Enter presses a focused button, as Space does.
    for (QPushButton* button : {cmdMake, cmdBrowse, cmdEnd, Command1})
        button->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::setFolderChooser(FolderChooser* chooser)
{
    m_folderChooser = chooser ? chooser : &SystemFolderChooser();
}

void MainWindow::setFileSystem(FileSystem* fileSystem)
{
    m_fileSystem = fileSystem ? fileSystem : m_localFileSystem.get();
}

void MainWindow::createControls()
{
    FrameMain = Place(
        new QGroupBox(QStringLiteral("指定パスの配下に、連番のフォルダを一括作成します"), this),
        QStringLiteral("FrameMain"), TwipsRect(120, 120, 6495, 2535));
    // Created after the group box, so it is drawn in front of the box's top border.
    Command1 = Place(new QPushButton(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"), this),
                     QStringLiteral("Command1"), TwipsRect(4920, 120, 1455, 255));
    lblStatus = Place(new AutoSizeLabel(QStringLiteral("lblStatus"), this),
                      QStringLiteral("lblStatus"), QPoint(120, 2760));
    pbStatus =
        Place(new QProgressBar(this), QStringLiteral("pbStatus"), TwipsRect(120, 3000, 4845, 255));
    pbStatus->setRange(0, 100);
    pbStatus->setValue(0);
    pbStatus->setTextVisible(false);
    cmdEnd = Place(new QPushButton(QStringLiteral("終了(&X)"), this), QStringLiteral("cmdEnd"),
                   TwipsRect(5160, 2880, 1335, 375));

    QWidget* frame = FrameMain;
    const auto label = [frame](const QString& name, const QString& text, int left, int top) {
        return Place(new AutoSizeLabel(text, frame), name, QPoint(left, top));
    };
    lblPath = label(QStringLiteral("lblPath"), QStringLiteral("該当フォルダ"), 240, 360);
    txtPath = NewTextBox(QStringLiteral("txtPath"), frame, TwipsRect(240, 600, 5055, 270), lblPath);
    cmdBrowse = Place(new QPushButton(QStringLiteral("参照(&B)"), frame),
                      QStringLiteral("cmdBrowse"), TwipsRect(5400, 600, 975, 255));

    const struct
    {
        const char16_t* text;
        int left;
        int top;
    } captions[] = {
        {u"ヘッダ", 240, 1080},  {u"フッタ", 240, 1440},
        {u"最小値", 2760, 1080}, {u"最大値", 2760, 1440},
        {u"桁数", 4920, 1080},   {u"＜プレビュー＞ 作成されるフォルダ", 120, 1920},
    };
    for (int i = 0; i < int(lblETC.size()); ++i)
        lblETC[i] = label(QStringLiteral("lblETC(%1)").arg(i), QString::fromUtf16(captions[i].text),
                          captions[i].left, captions[i].top);

    txtHeader =
        NewTextBox(QStringLiteral("txtHeader"), frame, TwipsRect(840, 1080, 1575, 270), lblETC[0]);
    txtMin =
        NewTextBox(QStringLiteral("txtMin"), frame, TwipsRect(3360, 1080, 1095, 270), lblETC[2]);
    txtBeam =
        NewTextBox(QStringLiteral("txtBeam"), frame, TwipsRect(5400, 1080, 615, 270), lblETC[4]);
    udBeam = Place(new UpDown(frame), QStringLiteral("udBeam"), TwipsRect(6000, 1080, 240, 270));
    udBeam->setRange(0, 10);
    udBeam->setBuddy(txtBeam);
    udBeam->setAccessibleName(lblETC[4]->text());
    txtFooter =
        NewTextBox(QStringLiteral("txtFooter"), frame, TwipsRect(840, 1440, 1575, 270), lblETC[1]);
    txtMax =
        NewTextBox(QStringLiteral("txtMax"), frame, TwipsRect(3360, 1440, 1095, 270), lblETC[3]);
    // Make sits at its place in the frame but belongs to the window: during a run it is the
    // stop button, and a child of the frame could not be enabled while the lock has the
    // frame disabled.
    cmdMake = Place(new QPushButton(QStringLiteral("作成(&M)"), this), QStringLiteral("cmdMake"),
                    TwipsRect(120 + 4920, 120 + 1560, 1455, 855));
    lblTest = Place(new QLabel(QStringLiteral("ssssssssssssssssssss"), frame),
                    QStringLiteral("lblTest"), TwipsRect(240, 2160, 4545, 180));
    lblTest->setTextFormat(Qt::PlainText);
    // Assistive technology reads the preview itself, as the label's name, and hears of each
    // new one; its caption is the label of it.
    lblETC[5]->setBuddy(lblTest);
    lblTest->setAccessibleDescription(lblETC[5]->text());
    // The bar has no caption on screen; the status line above it says what is being made.
    pbStatus->setAccessibleName(QStringLiteral("進捗"));

    // Where the status line and the bar stand during a run, hidden then.
    cmdOptions = Place(new QPushButton(QStringLiteral("詳細設定(&O)..."), this),
                       QStringLiteral("cmdOptions"), TwipsRect(120, 2880, 1575, 375));
    cmdList = Place(new QPushButton(QStringLiteral("一覧から作成(&L)..."), this),
                    QStringLiteral("cmdList"), TwipsRect(1755, 2880, 1935, 375));
    lblOptions =
        Place(new QLabel(frame), QStringLiteral("lblOptions"), TwipsRect(240, 2340, 4545, 180));
    lblOptions->setTextFormat(Qt::PlainText);
    lblOptions->setVisible(false);
}

void MainWindow::chainTabOrder()
{
    const QWidget* order[] = {txtPath, cmdBrowse, txtHeader, txtFooter,  txtMin,  txtMax,  txtBeam,
                              udBeam,  cmdMake,   cmdEnd,    cmdOptions, cmdList, Command1};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    txtPath->setFocus();
}

void MainWindow::setVisible(bool visible)
{
    if (visible)
        Form_Load();
    QWidget::setVisible(visible);
}

void MainWindow::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    // One read of the store; each fill runs that box's change handling before the next.
    const QStringList stored = LoadInputs(m_settings);
    const auto boxes = InputBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(stored.value(qsizetype(i)));
    if (m_startTarget)
        txtPath->setText(*m_startTarget);
    // The dialog's settings: a stored text that does not do counts as not in use.
    const QStringList further =
        m_settings.GetSettings(kSettingsApplication, kSettingsSection,
                               {{QStringLiteral("Step"), QString()},
                                {QStringLiteral("Subfolders"), QString()},
                                {QStringLiteral("ListNumbered"), QString()},
                                {QStringLiteral("ListSeparator"), QString()}});
    m_stepStored = !further.value(0).isEmpty();
    m_step = WholeNumberIn(further.value(0), 1, SettingsDialog::kHighestStep).value_or(1);
    m_subfoldersStored = !further.value(1).isEmpty();
    m_subfolders =
        SubfolderTemplate::FromText(further.value(1), nullptr).value_or(SubfolderTemplate());
    m_listOptionsStored = !further.value(2).isEmpty();
    m_listNumbered = further.value(2) == QLatin1String("1");
    if (m_listOptionsStored)
        m_listSeparator = further.value(3);
    UpdatePreview();
    UpdateSettingsInUse();
    lblStatus->setText(QString());
    m_programFolder = ProgramFolderFrom(m_executableFolder);
    if (txtPath->text().isEmpty()) {
        EnterRelativeBase(QString());
        txtPath->setText(targetDefaults().boxText);
    }
    setWindowTitle(QStringLiteral("%1 - Version %2.%3.%4")
                       .arg(QLatin1String(version::title))
                       .arg(version::major)
                       .arg(version::minor)
                       .arg(version::revision));
    pbStatus->setVisible(false);
}

std::array<QLineEdit*, 6> MainWindow::InputBoxes() const
{
    return {txtPath, txtHeader, txtFooter, txtMin, txtMax, txtBeam};
}

void MainWindow::centreOnScreen()
{
    const QScreen* target = screen();
    if (!target)
        return;
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameSize(),
                             target->availableGeometry())
             .topLeft());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_QueryUnload();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // In a box, Make. Only a fresh press: a held key repeats into the box once a message
        // box has taken the first press and closed, and must not start another run, nor
        // stop the one it started.
        if (!key->isAutoRepeat()) {
            auto* button = qobject_cast<QPushButton*>(watched);
            (button ? button : cmdMake)->click();
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (watched != txtBeam)
            return false;
        udBeam->stepBy(key->key() == Qt::Key_Up ? 1 : -1);
        return true;
    default:
        return false;
    }
}

std::optional<QString> MainWindow::AcceptDrop(QDropEvent* event) const
{
    std::optional<QString> target;
    if (txtPath->isEnabled())
        target = DroppedTarget(event->mimeData(), *m_localFileSystem);
    // The item stays where it is: a drop that could only move it is refused.
    const Qt::DropActions offered = event->possibleActions();
    const Qt::DropAction action = offered & Qt::CopyAction   ? Qt::CopyAction
                                  : offered & Qt::LinkAction ? Qt::LinkAction
                                                             : Qt::IgnoreAction;
    if (!target || action == Qt::IgnoreAction) {
        event->ignore();
        return {};
    }
    event->setDropAction(action);
    event->accept();
    return target;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    AcceptDrop(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    AcceptDrop(event);
}

void MainWindow::dropEvent(QDropEvent* event)
{
    if (const std::optional<QString> target = AcceptDrop(event))
        txtPath->setText(*target);
}

void MainWindow::Form_QueryUnload()
{
    EndProcess();
}

void MainWindow::cmdEnd_Click()
{
    EndProcess();
}

void MainWindow::cmdMake_Click()
{
    // During a run Make is its stop button.
    if (m_run) {
        m_run->RequestStop();
        return;
    }
    // An empty text is refused before any folder is looked at.
    if (!txtPath->text().isEmpty())
        EnterRelativeBase(txtPath->text());
    HomeShorthandFileSystem fileSystem(*m_fileSystem, HomeFolder());
    RunWindowAdapter window(RunParts(fileSystem, false));
    m_run = &window;
    const RunResult result = RunBatch(window, fileSystem, m_settings);
    m_run = nullptr;
    if (result.confirmed)
        NoteStored(false);
}

RunWindowAdapter::Parts MainWindow::RunParts(FileSystem& fileSystem, bool listRun)
{
    return {.window = this,
            .target = txtPath,
            .header = txtHeader,
            .footer = txtFooter,
            .minimum = txtMin,
            .maximum = txtMax,
            .digitCount = txtBeam,
            .status = lblStatus,
            .bar = pbStatus,
            .make = cmdMake,
            .fileSystem = &fileSystem,
            .lockInputs = std::bind_front(&MainWindow::LockInputs, this),
            .unlockInputs = std::bind_front(&MainWindow::UnlockInputs, this),
            .step = m_step,
            .subfolders = &m_subfolders,
            .furtherSettings = FurtherSettings(listRun)};
}

void MainWindow::NoteStored(bool listRun)
{
    m_stepStored = m_stepStored || m_step != 1;
    m_subfoldersStored = m_subfoldersStored || !m_subfolders.IsEmpty();
    m_listOptionsStored = m_listOptionsStored || listRun;
}

SettingsEntries MainWindow::FurtherSettings(bool listRun) const
{
    SettingsEntries entries;
    if (m_stepStored || m_step != 1)
        entries.append({QStringLiteral("Step"), QString::number(m_step)});
    if (m_subfoldersStored || !m_subfolders.IsEmpty())
        entries.append({QStringLiteral("Subfolders"), m_subfolders.Text()});
    if (m_listOptionsStored || listRun) {
        entries.append({QStringLiteral("ListNumbered"),
                        m_listNumbered ? QStringLiteral("1") : QStringLiteral("0")});
        entries.append({QStringLiteral("ListSeparator"), m_listSeparator});
    }
    return entries;
}

SettingsEntries MainWindow::PresetValues() const
{
    const auto boxes = InputBoxes();
    SettingsEntries values;
    for (size_t i = 0; i < boxes.size(); ++i)
        values.append({QLatin1String(kStoredInputs[i].key), boxes[i]->text()});
    if (m_listOptionsStored || m_listText) {
        values.append({QStringLiteral("ListNumbered"),
                       m_listNumbered ? QStringLiteral("1") : QStringLiteral("0")});
        values.append({QStringLiteral("ListSeparator"), m_listSeparator});
    }
    return values;
}

void MainWindow::ApplyPreset(const Preset& preset)
{
    const auto boxes = InputBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (const std::optional<QString> value = preset.Value(QLatin1String(kStoredInputs[i].key)))
            boxes[i]->setText(*value);
    }
    setListOptions(
        preset.Value(QStringLiteral("ListNumbered")).value_or(m_listNumbered ? "1" : "0") ==
            QLatin1String("1"),
        preset.Value(QStringLiteral("ListSeparator")).value_or(m_listSeparator));
}

void MainWindow::cmdList_Click()
{
    if (m_run)
        return;
    if (m_listFile.isEmpty())
        m_listFile = DefaultListPath();
    if (!m_listText)
        m_listText = ReadKeptList(m_listFile);
    if (!txtPath->text().isEmpty())
        EnterRelativeBase(txtPath->text());
    HomeShorthandFileSystem fileSystem(*m_fileSystem, HomeFolder());
    // The lines are numbered as a run would number them.
    const ListNumbering numbering{
        m_listNumbered, DigitCountOf(txtBeam->text()),
        FitsFolderNumber(WholePart(txtMin->text())) ? qint64(*WholePart(txtMin->text())) : 1,
        m_step, m_listSeparator};
    bool accepted = false;
    {
        ListDialog dialog(*m_listText, numbering, fileSystem,
                          BuildBaseFolder(txtPath->text(), fileSystem.Separator()), this);
        accepted = dialog.exec() == QDialog::Accepted;
        // What was typed stays for the next opening, kept on disk only by a confirmed run.
        m_listText = dialog.Text();
        setListOptions(dialog.Numbered(), dialog.Separator());
    }
    if (!accepted)
        return;
    RunWindowAdapter window(RunParts(fileSystem, true));
    m_run = &window;
    const RunResult result = RunList(window, fileSystem, m_settings,
                                     {*m_listText, m_listNumbered, m_listSeparator, m_listFile});
    m_run = nullptr;
    if (result.confirmed)
        NoteStored(true);
}

void MainWindow::cmdOptions_Click()
{
    SettingsDialog dialog(m_step, m_subfolders, *m_folderChooser, PresetValues(), m_presets, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.LoadedPreset())
        ApplyPreset(*dialog.LoadedPreset());
    m_presets.selected = dialog.SelectedPreset();
    m_step = dialog.Step();
    m_subfolders = dialog.Subfolders();
    UpdatePreview();
    UpdateSettingsInUse();
}

void MainWindow::UpdateSettingsInUse()
{
    const QString text = SettingsInUseText(m_step, m_subfolders);
    lblOptions->setText(text);
    lblOptions->setVisible(!text.isEmpty());
}

void MainWindow::cmdBrowse_Click()
{
    m_browsed = true;
    EnterRelativeBase(txtPath->text());
    const QString chosen =
        m_folderChooser->chooseFolder(this, ExpandHomeShorthand(txtPath->text(), HomeFolder()));
    if (!chosen.isEmpty())
        txtPath->setText(chosen);
}

const TargetDefaults& MainWindow::targetDefaults()
{
    if (!m_targetDefaults)
        m_targetDefaults =
            ChooseTargetDefaults(m_executableFolder, HomeFolder(), CanCreateFoldersIn);
    return *m_targetDefaults;
}

void MainWindow::EnterRelativeBase(const QString& targetText)
{
    // An absolute target needs no base: a start with a stored one touches no folder.
    const QString path = ExpandHomeShorthand(targetText, HomeFolder());
    if (!m_targetDefaults && !path.isEmpty() && QDir::isAbsolutePath(path))
        return;
    // Relative targets are taken from the home folder from the start when it stands in for
    // the program's folder; from a program folder of the user's once Browse has been used,
    // as they always have. The folder itself, not the box's form of it: "C:" would name the
    // drive's current folder, not its root. Should the folder be gone, the old directory
    // stays.
    const TargetDefaults& defaults = targetDefaults();
    if (defaults.fromHome || m_browsed)
        QDir::setCurrent(defaults.relativeBase);
}

void MainWindow::Command1_Click()
{
    if (!AboutWindow::current()) {
        // Owned by this window for its short life, so it is centred over it and stays on
        // top of it on every desktop.
        auto* about = new AboutWindow(this);
        AboutWindow::setCurrent(about);
    }
    QPointer<AboutWindow> about = AboutWindow::current();
    about->exec();
    // Closing has emptied the reference; the closed window is not used again.
    if (about && about != AboutWindow::current())
        delete about;
}

void MainWindow::txtHeader_Change()
{
    UpdatePreview();
}

void MainWindow::txtFooter_Change()
{
    UpdatePreview();
}

void MainWindow::txtMin_Change()
{
    RunNumberBoxChange(txtMin, MinMaxLimits());
}

void MainWindow::txtMax_Change()
{
    RunNumberBoxChange(txtMax, MinMaxLimits());
}

void MainWindow::txtBeam_Change()
{
    RunNumberBoxChange(txtBeam, DigitCountLimits());
}

void MainWindow::RunNumberBoxChange(QLineEdit* box, const NumberBoxLimits& limits)
{
    // Each correction is a setText, which moves the caret to the end of the new text and
    // re-enters this box's handling at once, nested; a canonical text is never rewritten,
    // so the caret stays where the user put it.
    RunNumberBoxSteps([box] { return box->text(); },
                      [box](const QString& text) { box->setText(text); }, limits);
    UpdatePreview();
}

void MainWindow::UpdatePreview()
{
    const QString digitCountText = txtBeam->text();
    if (!IsNumericText(digitCountText)) {
        lblTest->setText(QStringLiteral("エラー（桁数には整数を入れてください）"));
        // Runs the digit-count box's handling, which recomputes the preview with one digit.
        txtBeam->setText(QStringLiteral("1"));
        return;
    }
    const long long digitCount = WholeNumberIn(digitCountText, std::numeric_limits<qint16>::min(),
                                               std::numeric_limits<qint16>::max())
                                     .value_or(0);
    const QString mask = BuildZeroMask(int(digitCount));
    // A box that does not hold a number yet (only while the load handling fills the boxes)
    // gives no name.
    const auto number = [](const QLineEdit* numberBox) {
        return WholeNumberIn(numberBox->text(), std::numeric_limits<long long>::min(),
                             std::numeric_limits<long long>::max());
    };
    const auto name = [&](std::optional<long long> value) {
        if (!value)
            return QString();
        return NameForDisplay(
            BuildFolderName(txtHeader->text(), FormatFolderNumber(*value, mask), txtFooter->text()),
            1000);
    };
    const std::optional<long long> first = number(txtMin);
    std::optional<long long> last = number(txtMax);
    // With a step, the last name is the last number the run reaches. The boxes hold at most
    // six digits by then, so nothing here can overflow.
    if (first && last && m_step > 1 && *last > *first)
        *last = *first + (*last - *first) / m_step * m_step;
    lblTest->setText(name(first) + QStringLiteral(" ～ ") + name(last));
}

void MainWindow::LockInputs()
{
    SwitchInputs(false);
}

void MainWindow::UnlockInputs()
{
    SwitchInputs(true);
}

void MainWindow::SwitchInputs(bool enabled)
{
    // The progress bar is shown only while the inputs are locked.
    pbStatus->setMaximum(100);
    pbStatus->setValue(0);
    pbStatus->setVisible(!enabled);
    for (QWidget* control :
         std::initializer_list<QWidget*>{cmdMake, cmdEnd, cmdBrowse, FrameMain, txtPath, txtHeader,
                                         txtFooter, txtMin, txtMax, txtBeam, udBeam})
        control->setEnabled(enabled);
    lblStatus->setText(QString());
    lblPath->setEnabled(enabled);
    for (AutoSizeLabel* label : lblETC)
        label->setEnabled(enabled);
    lblTest->setEnabled(enabled);
    lblOptions->setEnabled(enabled);
    // Their place is the status line's and the bar's during a run.
    cmdOptions->setVisible(enabled);
    cmdList->setVisible(enabled);
    QCoreApplication::processEvents();
}

} // namespace kovaldi
