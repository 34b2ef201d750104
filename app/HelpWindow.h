#pragma once
// The editor's help window: the user guide in a text browser, with back and
// forward, the contents, a search bar, and the program's About text.

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;

class CHelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget *parent = nullptr);

    // Shows the guide at `guideFile`, scrolled to `anchor` (its start when empty),
    // and brings the window to the front.
    void ShowGuide(const QString &guideFile, const QString &anchor);

    QTextBrowser &Browser() const { return *m_browser; }
    QLineEdit &SearchField() const { return *m_search; }

    // Names the program, its version and its licence.
    static QString AboutText();

public slots:
    void OnAbout();
    // Finds the search field's text after (or, backwards, before) the cursor,
    // going round the end of the guide; says so in the bar when it is not there.
    bool FindNext();
    bool FindPrevious();
    void OnFind();

private:
    bool Find(bool backwards);
    void BuildMenus();

    QTextBrowser *m_browser = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_searchState = nullptr;
    QUrl m_home;
};
