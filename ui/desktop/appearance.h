#pragma once

#include <QColor>
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

// The contrast of two colours as the Web Content Accessibility Guidelines define it, from
// 1 (the same luminance) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// A link's colour on a window of the given colour. On a light window, the colour the link
// was designed in; on a dark one (nearer black than white), a lighter shade of the same hue,
// just light enough for a contrast of 4.5:1 with the window, the guidelines' minimum for
// text.
QColor LinkColourOn(const QColor& designed, const QColor& window);

// Logical pixels of a length in twips (15 twips are one pixel).
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

} // namespace kovaldi
