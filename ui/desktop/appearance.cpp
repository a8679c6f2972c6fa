#include "desktop/appearance.h"

#include "version.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QStringList>
#include <QTranslator>
#include <algorithm>
#include <cmath>

namespace kovaldi {

namespace {

double RelativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LinkColourOn(const QColor& designed, const QColor& window)
{
    constexpr double kMinimum = 4.5;
    // Nearer black than white: black has less contrast with it than white has.
    if (ContrastRatio(window, Qt::black) >= ContrastRatio(window, Qt::white))
        return designed;
    const QColor hsl = designed.toHsl();
    QColor lighter = designed;
    for (int lightness = hsl.lightness(); lightness <= 255; ++lightness) {
        lighter = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
        if (ContrastRatio(lighter, window) >= kMinimum)
            break;
    }
    return lighter;
}

QFont JapaneseGothicFont(double pointSize)
{
    // Only the faces that are installed are named: a missing first choice would make Qt
    // ask the system for substitutes of it (slow) before trying the next name, and would
    // query substitutes for every name up front instead of only for a missing glyph.
    // With none of them installed, the whole list leaves the choice to the system.
    static const QStringList installed = [] {
        const QStringList wanted = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                    QStringLiteral("IPAPGothic"),
                                    QStringLiteral("Noto Sans CJK JP"),
                                    QStringLiteral("Noto Sans JP")};
        const QStringList available = QFontDatabase::families();
        QStringList families;
        for (const QString& family : wanted)
            if (available.contains(family, Qt::CaseInsensitive))
                families.append(family);
        return families.isEmpty() ? wanted : families;
    }();
    QFont font;
    font.setFamilies(installed);
    font.setPixelSize(static_cast<int>(std::lround(pointSize * 96.0 / 72.0)));
    return font;
}

QIcon ApplicationIcon()
{
    // Installed, the icon theme holds the program's icon in every size and the desktop's
    // look applies. A look-up that misses searches every theme folder, so it is made only
    // when the icon is there to be found.
    const QString id = QLatin1String(version::appId);
    for (const QString& folder : QIcon::themeSearchPaths())
        if (QFileInfo::exists(folder + QStringLiteral("/hicolor/48x48/apps/") + id +
                              QStringLiteral(".png")))
            return QIcon::fromTheme(id);

    // Otherwise the built-in images, up to the largest size a window manager asks for. They
    // are read as PNG outright: left to find the format itself, Qt would load and ask every
    // image format plugin installed (and the libraries they need) at each start.
    QIcon builtIn;
    for (const int size : {16, 32, 48}) {
        QImageReader reader(QStringLiteral(":/icons/kovaldi-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        builtIn.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return builtIn;
}

namespace {

// The kinds of item that Qt's folder dialog names in its type column, which Qt's own
// Japanese translations lack.
class FileTypeTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const char* const kinds[][2] = {{"Folder", "フォルダ"},
                                               {"File", "ファイル"},
                                               {"%1 File", "%1 ファイル"},
                                               {"Drive", "ドライブ"}};
        for (const auto& [english, japanese] : kinds)
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromUtf8(japanese);
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

void InstallQtTranslations(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    QCoreApplication::installTranslator(new FileTypeTranslator(&application));
}

} // namespace kovaldi
