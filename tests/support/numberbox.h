#pragma once

#include "numbers/numbertext.h"

#include <QString>

namespace kovaldi::test {

// What a number box ends with once its text has become `text`: the window's steps
// (RunNumberBoxSteps) run on a box of their own, every write re-entering the handling
// nested, as in the window.
struct NumberBoxOutcome
{
    QString text;
    int runs = 0;    // runs of the handling, nested ones included
    int deepest = 0; // deepest nesting, the outermost run counting 1
};
NumberBoxOutcome NormalizeNumberBoxText(const QString& text, const NumberBoxLimits& limits);

} // namespace kovaldi::test
