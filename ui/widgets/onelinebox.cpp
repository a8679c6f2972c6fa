#include "widgets/onelinebox.h"

#include <QValidator>
#include <limits>

namespace kovaldi {

namespace {

// The box's text never holds a line break, so one in the new text came with what was
// just inserted, which ends at the caret: that insertion is cut at its first line break,
// and the text after the caret, the box's own, stays.
class FirstLineOnly : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& text, int& caret) const override
    {
        qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
        const qsizetype carriageReturn = text.indexOf(QLatin1Char('\r'));
        if (carriageReturn >= 0 && (lineBreak < 0 || carriageReturn < lineBreak))
            lineBreak = carriageReturn;
        if (lineBreak >= 0) {
            const qsizetype insertionEnd = std::max<qsizetype>(caret, lineBreak);
            text.remove(lineBreak, insertionEnd - lineBreak);
            caret = int(lineBreak);
        }
        return Acceptable;
    }
};

} // namespace

OneLineBox::OneLineBox(const QString& text, QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new FirstLineOnly(this));
    setText(text);
}

} // namespace kovaldi
