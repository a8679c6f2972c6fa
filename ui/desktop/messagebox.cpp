#include "desktop/messagebox.h"

#include "version.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

namespace kovaldi {

bool ShowMessage(QWidget* parent, const QString& text, MessageKind kind)
{
    return ShowMessage(parent, text, kind, {}) == MessageAnswer::Accepted;
}

MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageKind kind,
                          const MessageExtras& extras)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Question:
        icon = QMessageBox::Question;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    }
    const bool question = kind == MessageKind::Question;
    QMessageBox box(icon, QString::fromLatin1(version::title), text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (question) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    if (!extras.informativeText.isEmpty()) {
        box.setInformativeText(extras.informativeText);
        // Plain text like the text above it: a folder name is never read as markup.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
            label->setTextFormat(Qt::PlainText);
    }
    if (!extras.detailedText.isEmpty()) {
        box.setDetailedText(extras.detailedText);
        // Reached by Tab and read by name once shown, like the rest of the box.
        for (QTextEdit* details : box.findChildren<QTextEdit*>()) {
            details->setFocusPolicy(Qt::StrongFocus);
            details->setAccessibleName(QStringLiteral("詳細"));
        }
    }
    QPushButton* extra = nullptr;
    if (!extras.extraButton.isEmpty() && !question) {
        extra = box.addButton(extras.extraButton, QMessageBox::ActionRole);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (extra && box.clickedButton() == extra)
        return MessageAnswer::Extra;
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok ? MessageAnswer::Accepted
                                                                   : MessageAnswer::Declined;
}

} // namespace kovaldi
