#include "options/presetsrow.h"

#include "desktop/messagebox.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kovaldi {

namespace {

// What is wrong with a presets file that cannot be used; empty for one that can.
QString FileProblem(const PresetFile& file, const QString& path)
{
    const QString where = QDir::toNativeSeparators(path);
    switch (file.state) {
    case PresetFileState::Read:
    case PresetFileState::Missing:
        return {};
    case PresetFileState::NotAFile:
        return QStringLiteral("プリセットのファイル「%1」は、ファイルではありません。").arg(where);
    case PresetFileState::TooLarge:
        return QStringLiteral(
                   "プリセットのファイル「%1」は、プリセットのファイルとしては大きすぎます。")
            .arg(where);
    case PresetFileState::Unreadable:
        return QStringLiteral("プリセットのファイル「%1」を読み込めません。").arg(where);
    case PresetFileState::Damaged:
        return QStringLiteral("プリセットのファイル「%1」は壊れています。").arg(where);
    case PresetFileState::Foreign:
        return QStringLiteral("プリセットのファイル「%"
                              "1」は、このプログラムのプリセットのファイルではありません。")
            .arg(where);
    }
    return {};
}

// A file that the user may have replaced, on a Yes: one that is there and read, but not as
// presets.
bool ReplaceableOnYes(PresetFileState state)
{
    return state == PresetFileState::TooLarge || state == PresetFileState::Damaged ||
           state == PresetFileState::Foreign;
}

QPushButton* NewButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // Enter in the dialog stays OK.
    button->setAutoDefault(false);
    return button;
}

} // namespace

PresetsRow::PresetsRow(PresetMemory& memory, Hooks hooks, QWidget* reportParent, QWidget* parent)
    : QWidget(parent), m_memory(memory), m_hooks(std::move(hooks))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("プリセット(&P)"), this);
    cboPreset = new QComboBox(this);
    cboPreset->setObjectName(QStringLiteral("cboPreset"));
    cboPreset->setEditable(false);
    cboPreset->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboPreset->setMinimumContentsLength(12);
    label->setBuddy(cboPreset);
    cboPreset->setAccessibleName(QStringLiteral("プリセット"));
    cmdSavePreset = NewButton(QStringLiteral("保存(&V)"), QStringLiteral("cmdSavePreset"), this);
    cmdSavePresetAs = NewButton(QStringLiteral("名前を付けて保存(&A)..."),
                                QStringLiteral("cmdSavePresetAs"), this);
    cmdDeletePreset =
        NewButton(QStringLiteral("削除(&D)"), QStringLiteral("cmdDeletePreset"), this);
    layout->addWidget(label);
    layout->addWidget(cboPreset, 1);
    layout->addWidget(cmdSavePreset);
    layout->addWidget(cmdSavePresetAs);
    layout->addWidget(cmdDeletePreset);

    connect(cboPreset, &QComboBox::activated, this, &PresetsRow::cboPreset_Activated);
    connect(cmdSavePreset, &QPushButton::clicked, this, &PresetsRow::cmdSavePreset_Click);
    connect(cmdSavePresetAs, &QPushButton::clicked, this, &PresetsRow::cmdSavePresetAs_Click);
    connect(cmdDeletePreset, &QPushButton::clicked, this, &PresetsRow::cmdDeletePreset_Click);

    const PresetFile file = m_store.Read();
    FillList(file.presets, m_memory.selected);
    if (file.Replaceable()) {
        m_memory.told.reset();
    } else if (m_memory.told != file.state) {
        m_memory.told = file.state;
        QString text = FileProblem(file, m_store.Path()) +
                       QStringLiteral("\nプリセットは読み込まず、ファイルはそのまま残します。");
        if (ReplaceableOnYes(file.state))
            text +=
                QStringLiteral("\nプリセットを保存するときに、置き換えるかどうかを確認します。");
        ShowMessage(reportParent ? reportParent : this, text, MessageKind::Warning,
                    {.detailedText = file.detail});
    }
}

QString PresetsRow::Selected() const
{
    const int index = cboPreset->currentIndex();
    return index > 0 ? m_presets.value(index - 1).name : QString();
}

void PresetsRow::FillList(const QList<Preset>& presets, const QString& name)
{
    m_presets = presets;
    cboPreset->clear();
    cboPreset->addItem(QStringLiteral("（なし）"));
    for (const Preset& preset : presets)
        cboPreset->addItem(preset.name);
    cboPreset->setCurrentIndex(int(IndexOfPreset(presets, name)) + 1);
    UpdateButtons();
}

void PresetsRow::UpdateButtons()
{
    const bool selected = cboPreset->currentIndex() > 0;
    cmdSavePreset->setEnabled(selected);
    cmdDeletePreset->setEnabled(selected);
}

void PresetsRow::cboPreset_Activated(int index)
{
    UpdateButtons();
    if (index > 0)
        m_hooks.load(m_presets.value(index - 1));
    else
        m_hooks.load(std::nullopt);
}

void PresetsRow::cmdSavePreset_Click()
{
    const QString name = Selected();
    if (name.isEmpty())
        return;
    if (const std::optional<SettingsEntries> values = m_hooks.values())
        SavePreset(name, *values);
}

void PresetsRow::cmdSavePresetAs_Click()
{
    const std::optional<SettingsEntries> values = m_hooks.values();
    if (!values)
        return;
    if (const std::optional<QString> name = AskName())
        SavePreset(*name, *values);
}

std::optional<QString> PresetsRow::AskName()
{
    QString typed = Selected();
    for (;;) {
        QInputDialog dialog(window());
        dialog.setObjectName(QStringLiteral("dlgPresetName"));
        dialog.setWindowTitle(QStringLiteral("名前を付けて保存"));
        dialog.setLabelText(QStringLiteral("プリセットの名前(&N):"));
        dialog.setTextValue(typed);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("キャンセル"));
        if (auto* line = dialog.findChild<QLineEdit*>())
            line->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        typed = dialog.textValue();
        const QString name = PresetName(typed);
        if (!name.isEmpty())
            return name;
        ShowMessage(
            window(),
            QStringLiteral("プリセットの名前を入れてください。空白だけの名前は使えません。"),
            MessageKind::Warning);
    }
}

std::optional<QList<Preset>> PresetsRow::PresetsToChange(const QString& name, bool& replace)
{
    replace = false;
    const PresetFile file = m_store.Read();
    if (file.Replaceable())
        return file.presets;
    const QString problem = FileProblem(file, m_store.Path());
    if (!ReplaceableOnYes(file.state) || name.isEmpty()) {
        ShowMessage(window(),
                    problem + (name.isEmpty() ? QStringLiteral("\nプリセットを削除できません。")
                                              : QStringLiteral("\nプリセットを保存できません。")),
                    MessageKind::Warning);
        return std::nullopt;
    }
    if (!ShowMessage(window(),
                     problem + QStringLiteral("\nこのファイルを置き換えると、中にあったものはすべて"
                                              "失われ、プリセット「%1」だけが残ります。"
                                              "置き換えますか？")
                                   .arg(name),
                     MessageKind::Question))
        return std::nullopt;
    replace = true;
    return QList<Preset>();
}

void PresetsRow::SavePreset(const QString& name, const SettingsEntries& values)
{
    bool replace = false;
    const std::optional<QList<Preset>> presets = PresetsToChange(name, replace);
    if (!presets)
        return;
    if (IndexOfPreset(*presets, name) >= 0 &&
        !ShowMessage(window(), QStringLiteral("プリセット「%1」を上書きしますか？").arg(name),
                     MessageKind::Question))
        return;
    const QList<Preset> saved = WithPreset(*presets, {name, values});
    if (!m_store.Save(saved, replace)) {
        TellNotWritten();
        return;
    }
    m_memory.told.reset();
    FillList(saved, name);
}

void PresetsRow::TellNotWritten()
{
    ShowMessage(window(),
                QStringLiteral("プリセットのファイル「%1」に書き込めませんでした。")
                    .arg(QDir::toNativeSeparators(m_store.Path())),
                MessageKind::Warning);
}

void PresetsRow::cmdDeletePreset_Click()
{
    const QString name = Selected();
    if (name.isEmpty() ||
        !ShowMessage(window(), QStringLiteral("プリセット「%1」を削除しますか？").arg(name),
                     MessageKind::Question))
        return;
    bool replace = false;
    const std::optional<QList<Preset>> presets = PresetsToChange(QString(), replace);
    if (!presets)
        return;
    const QList<Preset> kept = WithoutPreset(*presets, name);
    if (!m_store.Save(kept)) {
        TellNotWritten();
        return;
    }
    FillList(kept, QString());
}

} // namespace kovaldi
