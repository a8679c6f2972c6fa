#pragma once

#include <QDialog>
#include <QPointer>
#include <array>

class QLabel;
class QPushButton;

namespace kovaldi {

class AutoSizeLabel;
class LinkLabel;

// frmVersion: the program's icon, title, version and copyright line, with links to the
// maker's home page and to a mail to the maker. The link under the mouse is shown bold.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* owner = nullptr);
    ~AboutWindow() override;

    // The program-wide reference to the open About window; emptied on every close, so
    // each opening builds a fresh window.
    static AboutWindow* current();
    static void setCurrent(AboutWindow* window);

    // Load handling: the owner's icon for the window and the image, the title, version
    // and copyright texts. Runs once: at the first show unless called before it.
    void Form_Load();

    // Event handlers.
    void Form_MouseMove();
    void Label1_MouseMove();
    void OKButton_MouseMove();
    void Label2_MouseMove();
    void Label3_MouseMove();
    void Label2_Click();
    void Label3_MouseDown();
    void OKButton_Click();
    void Form_QueryUnload();

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    void createControls();
    void setLinksBold(bool homePage, bool mail);
    void placeCentred(QWidget* control);
    void placeCopyright();
    // The links' colours for the window's palette: the design's blue and green, lighter on
    // a dark palette.
    void colourLinks();

    // The controls, by their design names (also their object names).
    QLabel* Image1 = nullptr;
    std::array<AutoSizeLabel*, 3> Label1{};
    LinkLabel* Label2 = nullptr;
    LinkLabel* Label3 = nullptr;
    QPushButton* OKButton = nullptr;

    bool m_loaded = false;
    bool m_label2Pressed = false;
    static QPointer<AboutWindow> s_current;
};

} // namespace kovaldi
