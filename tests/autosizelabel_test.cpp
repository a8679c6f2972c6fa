// The auto-sized label takes the size of its text whichever way the text or the font
// changes, and only later when its sizing is deferred.
#include "widgets/autosizelabel.h"

#include <QLineEdit>
#include <QTest>

using kovaldi::AutoSizeLabel;

class AutoSizeLabelTest : public QObject
{
    Q_OBJECT
private slots:
    void followsItsText_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"setText", "property", "signal", "font"})
            QTest::newRow(how) << how;
    }
    void followsItsText()
    {
        QFETCH(QString, how);
        QWidget window;
        auto* label = new AutoSizeLabel(QStringLiteral("short"), &window);
        const QSize before = label->size();
        QLineEdit source;
        connect(&source, &QLineEdit::textChanged, label, &AutoSizeLabel::setText);
        const QString longer = QStringLiteral("a much longer text than before");
        if (how == QLatin1String("setText"))
            label->setText(longer);
        else if (how == QLatin1String("property"))
            label->setProperty("text", longer);
        else if (how == QLatin1String("signal"))
            source.setText(longer);
        else
            window.setFont(QFont(window.font().family(), 40));
        QCOMPARE(label->size(), label->sizeHint());
        QVERIFY(label->width() > before.width());
    }

    void deferredSizingWaitsForAdjustSizeOrTheEnd()
    {
        AutoSizeLabel label(QStringLiteral("short"));
        const QSize before = label.size();
        label.setSizingDeferred(true);
        label.setText(QStringLiteral("a much longer text than before"));
        QCOMPARE(label.text(), QStringLiteral("a much longer text than before"));
        QCOMPARE(label.size(), before);
        label.adjustSize();
        QCOMPARE(label.size(), label.sizeHint());
        label.setText(QStringLiteral("short"));
        QVERIFY(label.size() != before);
        label.setSizingDeferred(false);
        QCOMPARE(label.size(), before);
    }
};

QTEST_MAIN(AutoSizeLabelTest)
#include "autosizelabel_test.moc"
