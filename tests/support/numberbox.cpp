#include "numberbox.h"

#include <algorithm>
#include <functional>

namespace kovaldi::test {

NumberBoxOutcome NormalizeNumberBoxText(const QString& text, const NumberBoxLimits& limits)
{
    NumberBoxOutcome outcome{text};
    int depth = 0;
    std::function<void()> change;
    const auto read = [&outcome] {
        return outcome.text;
    };
    const auto write = [&outcome, &change](const QString& newText) {
        if (newText == outcome.text)
            return;
        outcome.text = newText;
        change();
    };
    change = [&] {
        ++outcome.runs;
        outcome.deepest = std::max(outcome.deepest, ++depth);
        RunNumberBoxSteps(read, write, limits);
        --depth;
    };
    change();
    return outcome;
}

} // namespace kovaldi::test
