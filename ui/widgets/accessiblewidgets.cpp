#include "widgets/accessiblewidgets.h"

#include "widgets/autosizelabel.h"
#include "widgets/linklabel.h"
#include "widgets/updown.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMessageBox>

namespace kovaldi {

namespace {

class AccessibleUpDown : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleUpDown(UpDown* spinner) : QAccessibleWidget(spinner, QAccessible::SpinBox) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QString::number(spinner()->position());
        return QAccessibleWidget::text(kind);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Setting a value writes it into the digit box as a step would, within the range.
    QVariant currentValue() const override { return spinner()->position(); }
    void setCurrentValue(const QVariant& value) override
    {
        spinner()->stepBy(value.toInt() - spinner()->position());
    }
    QVariant maximumValue() const override { return spinner()->maximum(); }
    QVariant minimumValue() const override { return spinner()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override
    {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == increaseAction())
            spinner()->stepBy(1);
        else if (name == decreaseAction())
            spinner()->stepBy(-1);
        else
            QAccessibleWidget::doAction(name);
    }

private:
    UpDown* spinner() const { return static_cast<UpDown*>(widget()); }
};

// The label inside draws the text; the auto-sized label stands for it, without children.
class AccessibleLabel : public QAccessibleWidget
{
public:
    AccessibleLabel(AutoSizeLabel* label, QAccessible::Role role) : QAccessibleWidget(label, role)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind); // the description: the tool tip
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto related = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled)
            if (QAccessibleInterface* named =
                    QAccessible::queryAccessibleInterface(label()->buddy()))
                related.append({named, QAccessible::Labelled});
        return related;
    }

    QStringList actionNames() const override
    {
        if (role() == QAccessible::Link)
            return QStringList{pressAction()} + QAccessibleWidget::actionNames();
        return QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        // Queued: the link's question is a modal window, which would hold the screen
        // reader's call until it is answered.
        if (role() == QAccessible::Link && name == pressAction())
            QMetaObject::invokeMethod(static_cast<LinkLabel*>(label()), &LinkLabel::activate,
                                      Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (role() == QAccessible::Link && name == pressAction())
            return {QStringLiteral("Return"), QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    AutoSizeLabel* label() const { return static_cast<AutoSizeLabel*>(widget()); }
};

// A message box is read as an alert, which screen readers announce as a warning; one that
// asks a question is a dialog.
class AccessibleMessageBox : public QAccessibleWidget
{
public:
    explicit AccessibleMessageBox(QMessageBox* box)
        : QAccessibleWidget(box, QAccessible::AlertMessage)
    {}

    QAccessible::Role role() const override
    {
        return static_cast<QMessageBox*>(widget())->icon() == QMessageBox::Question
                   ? QAccessible::Dialog
                   : QAccessible::AlertMessage;
    }
};

QAccessibleInterface* CreateInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("QMessageBox"))
        return new AccessibleMessageBox(static_cast<QMessageBox*>(object));
    if (className == QLatin1String("kovaldi::UpDown"))
        return new AccessibleUpDown(static_cast<UpDown*>(object));
    if (className == QLatin1String("kovaldi::LinkLabel"))
        return new AccessibleLabel(static_cast<AutoSizeLabel*>(object), QAccessible::Link);
    if (className == QLatin1String("kovaldi::AutoSizeLabel"))
        return new AccessibleLabel(static_cast<AutoSizeLabel*>(object), QAccessible::StaticText);
    // Reached only by classes that Qt has no interface of their own for.
    if (className == QLatin1String("QWidget")) {
        auto* widget = static_cast<QWidget*>(object);
        if (widget->isWindow())
            return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(&CreateInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kovaldi
