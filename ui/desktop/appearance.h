#pragma once

#include <QFont>
#include <QIcon>

class QCoreApplication;

namespace kovaldi {

// The design's face where present, else a Japanese proportional Gothic. The layout is
// fixed in logical pixels, so the size is given in points at 96 dots per inch and set
// in pixels: 9 pt is 12 px whatever the screen reports.
QFont JapaneseGothicFont(double pointSize);

// The stack of yellow folders, built into the program.
QIcon ApplicationIcon();

// Qt's own Japanese texts for the standard buttons and dialogs.
void InstallQtTranslations(QCoreApplication& application);

// Logical pixels of a length in twips (15 twips are one pixel).
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

} // namespace kovaldi
