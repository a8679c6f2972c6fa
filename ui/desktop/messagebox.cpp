#include "desktop/messagebox.h"

#include "version.h"

#include <QMessageBox>

namespace kovaldi {

bool ShowMessage(QWidget* parent, const QString& text, MessageKind kind)
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
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

} // namespace kovaldi
