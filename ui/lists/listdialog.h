#pragma once

#include "lists/folderlist.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPlainTextEdit>
#include <QTimer>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kovaldi {

class FileSystem;

// The lines of a list, each with its state written beside it in a margin that draws only
// the lines in view, so that a list of any length scrolls as an empty one does. A paste
// that would take the list past kMostListLines lines is refused with a message.
class ListEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit ListEdit(QWidget* parent = nullptr);

    // What the margin says of each line (from 0, as the editor counts them); lines past the
    // end of the list say nothing.
    struct Mark
    {
        QString text;
        bool fault = false;
    };
    void setMarks(QList<Mark> marks);
    void setMark(qsizetype line, Mark mark);
    const QList<Mark>& marks() const { return m_marks; }
    // Draws the margin again after setMark.
    void updateMargin() { m_margin->update(); }
    // The mark of the line under the cursor is also the box's accessible description
    // ("3 行目: 新規"), which a screen reader reads as the cursor moves: the margin is
    // only drawn.
    void describeCursorLine();
    int marginWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    friend class ListMargin;
    void placeMargin();
    void paintMargin(QPaintEvent* event);
    // The line at a point of the margin, or -1.
    int lineAt(int y) const;

    QWidget* m_margin = nullptr;
    QList<Mark> m_marks;
};

// frmList: folders from a list. The user types or pastes one folder a line ("/" nests);
// each line is checked as it will be made (new, there already as a folder or a file, a
// repeat of an earlier line, not a valid name and why), a short pause after the last edit
// and a page at a time, so that a long list never holds the dialog up. Make takes the list
// once it can be made; a fault is told and the dialog stays open.
class ListDialog : public QDialog
{
    Q_OBJECT
public:
    // The list's first text and numbering options; the window's digit count, minimum and
    // step that number the lines; where the folders go (baseFolder ending in the file
    // system's separator; a missing one checks every line as new).
    ListDialog(const QString& text, const ListNumbering& numbering, const FileSystem& fileSystem,
               const QString& baseFolder, QWidget* parent = nullptr);
    ~ListDialog() override;

    QString Text() const;
    bool Numbered() const;
    QString Separator() const;

    // The check after an edit waits this long, then checks this many lines at a pass.
    static constexpr int kPauseMs = 250;
    static constexpr int kLinesAPass = 2000;

    // Whether the check of the text as it stands is done.
    bool Checked() const { return !m_pause.isActive() && !m_page.isActive(); }

    void accept() override;

private:
    void StartCheck();
    void CheckPage();
    void UpdateSummary();

    ListEdit* txtList = nullptr;
    QCheckBox* chkNumbered = nullptr;
    QLabel* lblSeparator = nullptr;
    QLineEdit* txtSeparator = nullptr;
    QLabel* lblSummary = nullptr;
    QPushButton* cmdMake = nullptr;
    QPushButton* cmdClose = nullptr;

    ListNumbering m_numbering;
    const FileSystem& m_fileSystem;
    QString m_baseFolder;
    QTimer m_pause;
    QTimer m_page;

    // The pass under way: the list of the text as it stood, its checker and the next line.
    std::optional<FolderList> m_list;
    QString m_listError;
    std::unique_ptr<ListChecker> m_checker;
    qsizetype m_next = -1;
    qint64 m_counts[5] = {};
    qsizetype m_firstInvalid = -1;
    QString m_firstReason;
};

} // namespace kovaldi
