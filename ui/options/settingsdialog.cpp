#include "options/settingsdialog.h"

#include "desktop/messagebox.h"
#include "numbers/numbertext.h"
#include "picker/folderchooser.h"
#include "widgets/onelinebox.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace kovaldi {

SettingsDialog::SettingsDialog(qint64 step, const SubfolderTemplate& tree, FolderChooser& chooser,
                               SettingsEntries windowValues, PresetMemory& presets, QWidget* parent)
    : QDialog(parent), m_chooser(chooser), m_step(step), m_tree(tree),
      m_windowValues(std::move(windowValues))
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("詳細設定"));
    auto* layout = new QVBoxLayout(this);
    m_topRow = new QHBoxLayout;
    layout->addLayout(m_topRow);
    // First, so that Tab goes from the presets to the boxes they fill.
    m_presetsRow = new PresetsRow(presets,
                                  {.values = std::bind_front(&SettingsDialog::PresetValues, this),
                                   .load = std::bind_front(&SettingsDialog::LoadPreset, this)},
                                  parent, this);
    m_topRow->addWidget(m_presetsRow);

    auto* stepRow = new QHBoxLayout;
    auto* stepLabel = new QLabel(QStringLiteral("増分(&S)"), this);
    txtStep = new OneLineBox(QString::number(step), this);
    txtStep->setObjectName(QStringLiteral("txtStep"));
    txtStep->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    stepLabel->setBuddy(txtStep);
    stepRow->addWidget(stepLabel);
    stepRow->addWidget(txtStep);
    stepRow->addWidget(new QLabel(QStringLiteral("（最小値から、この数ずつ増やします）"), this));
    stepRow->addStretch();
    layout->addLayout(stepRow);

    auto* treeLabel = new QLabel(
        QStringLiteral("各フォルダの中に作るサブフォルダ(&U)（1 行に 1 つ、「/」で階層）"), this);
    txtSubfolders = new QPlainTextEdit(tree.Text(), this);
    txtSubfolders->setObjectName(QStringLiteral("txtSubfolders"));
    txtSubfolders->setTabChangesFocus(true);
    txtSubfolders->setLineWrapMode(QPlainTextEdit::NoWrap);
    treeLabel->setBuddy(txtSubfolders);
    layout->addWidget(treeLabel);
    layout->addWidget(txtSubfolders);

    auto* treeRow = new QHBoxLayout;
    cmdReadFolder = new QPushButton(QStringLiteral("フォルダから読み込む(&R)..."), this);
    cmdReadFolder->setObjectName(QStringLiteral("cmdReadFolder"));
    cmdReadFolder->setAutoDefault(false);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    treeRow->addWidget(cmdReadFolder);
    treeRow->addWidget(lblCount, 1);
    layout->addLayout(treeRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    connect(cmdReadFolder, &QPushButton::clicked, this, &SettingsDialog::cmdReadFolder_Click);
    connect(txtSubfolders, &QPlainTextEdit::textChanged, this, &SettingsDialog::UpdateCount);
    UpdateCount();
    resize(sizeHint().width() * 5 / 4, sizeHint().height() * 3 / 2);
    txtStep->setFocus();
}

void SettingsDialog::UpdateCount()
{
    QString error;
    const std::optional<SubfolderTemplate> tree =
        SubfolderTemplate::FromText(txtSubfolders->toPlainText(), &error);
    lblCount->setText(!tree             ? error
                      : tree->IsEmpty() ? QStringLiteral("サブフォルダなし")
                                        : QStringLiteral("%1 個のサブフォルダ").arg(tree->Count()));
}

std::optional<std::pair<qint64, SubfolderTemplate>> SettingsDialog::CheckedInputs()
{
    const std::optional<long long> step =
        WholeNumberIn(FoldWideNumberText(txtStep->text()), 1, kHighestStep);
    if (!step) {
        ShowMessage(
            this,
            QStringLiteral("増分には 1 から %1 までの整数を入れてください。").arg(kHighestStep),
            MessageKind::Warning);
        txtStep->setFocus();
        txtStep->selectAll();
        return std::nullopt;
    }
    QString error;
    const std::optional<SubfolderTemplate> tree =
        SubfolderTemplate::FromText(txtSubfolders->toPlainText(), &error);
    if (!tree) {
        ShowMessage(this, error, MessageKind::Warning);
        txtSubfolders->setFocus();
        return std::nullopt;
    }
    return std::pair{qint64(*step), *tree};
}

void SettingsDialog::accept()
{
    const auto inputs = CheckedInputs();
    if (!inputs)
        return;
    m_step = inputs->first;
    m_tree = inputs->second;
    QDialog::accept();
}

QString SettingsDialog::SelectedPreset() const
{
    return m_presetsRow->Selected();
}

std::optional<SettingsEntries> SettingsDialog::PresetValues()
{
    const auto inputs = CheckedInputs();
    if (!inputs)
        return std::nullopt;
    const QString step = QStringLiteral("Step");
    const QString subfolders = QStringLiteral("Subfolders");
    SettingsEntries values = m_windowValues;
    if (m_loaded) {
        // The loaded preset's part is what the window takes on OK, and so is what it holds
        // beyond what the window gave (list options the window has not used yet).
        for (auto& [key, value] : values)
            value = m_loaded->Value(key).value_or(value);
        for (const auto& entry : m_loaded->values) {
            const QString& key = entry.first;
            if (key != step && key != subfolders &&
                std::none_of(values.cbegin(), values.cend(),
                             [&key](const auto& held) { return held.first == key; }))
                values.append(entry);
        }
    }
    values.append({step, QString::number(inputs->first)});
    values.append({subfolders, inputs->second.Text()});
    return values;
}

void SettingsDialog::LoadPreset(const std::optional<Preset>& preset)
{
    // What the preset does not hold stays as it was when the dialog opened.
    m_loaded = preset;
    const auto value = [&preset](const QString& key, const QString& otherwise) {
        return preset ? preset->Value(key).value_or(otherwise) : otherwise;
    };
    txtStep->setText(value(QStringLiteral("Step"), QString::number(m_step)));
    txtSubfolders->setPlainText(value(QStringLiteral("Subfolders"), m_tree.Text()));
}

void SettingsDialog::cmdReadFolder_Click()
{
    const QString folder = m_chooser.chooseFolder(this, QString());
    if (folder.isEmpty())
        return;
    QString error;
    const std::optional<SubfolderTemplate> tree = SubfolderTemplate::FromFolder(folder, &error);
    if (!tree) {
        ShowMessage(this, error, MessageKind::Warning);
        return;
    }
    if (tree->IsEmpty()) {
        ShowMessage(this,
                    QStringLiteral("フォルダ「%1」の中にフォルダがありません。")
                        .arg(QDir::toNativeSeparators(folder)),
                    MessageKind::Warning);
        return;
    }
    txtSubfolders->setPlainText(tree->Text());
}

QString SettingsInUseText(qint64 step, const SubfolderTemplate& tree)
{
    QStringList parts;
    if (step != 1)
        parts << QStringLiteral("増分 %1").arg(step);
    if (!tree.IsEmpty())
        parts << QStringLiteral("各フォルダに %1 個のサブフォルダ").arg(tree.Count());
    return parts.join(QStringLiteral("、"));
}

} // namespace kovaldi
