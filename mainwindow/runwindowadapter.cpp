#include "mainwindow/runwindowadapter.h"

#include "mainwindow/autosizelabel.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>

namespace kovaldi {

QString RunWindowAdapter::TargetFolderText() const
{
    return m_window.txtPath->text();
}

QString RunWindowAdapter::HeaderText() const
{
    return m_window.txtHeader->text();
}

QString RunWindowAdapter::FooterText() const
{
    return m_window.txtFooter->text();
}

QString RunWindowAdapter::MinimumText() const
{
    return m_window.txtMin->text();
}

QString RunWindowAdapter::MaximumText() const
{
    return m_window.txtMax->text();
}

QString RunWindowAdapter::DigitCountText() const
{
    return m_window.txtBeam->text();
}

void RunWindowAdapter::SetStatus(const QString& text)
{
    m_window.lblStatus->setText(text);
}

void RunWindowAdapter::SetProgress(float value)
{
    m_window.pbStatus->setValue(qRound(value));
}

bool RunWindowAdapter::Ask(const QString& text)
{
    return ShowMessage(&m_window, text, MessageKind::Question);
}

void RunWindowAdapter::Tell(const QString& text, MessageKind kind)
{
    ShowMessage(&m_window, text, kind);
}

void RunWindowAdapter::LockInputs()
{
    m_focusBeforeLock = m_window.focusWidget();
    m_window.LockInputs();
}

void RunWindowAdapter::UnlockInputs()
{
    m_window.UnlockInputs();
    if (m_focusBeforeLock && m_focusBeforeLock->isEnabled())
        m_focusBeforeLock->setFocus(Qt::OtherFocusReason);
}

void RunWindowAdapter::PumpEvents()
{
    QCoreApplication::processEvents();
}

} // namespace kovaldi
