#pragma once
// The find bar above the options tree (Ctrl+F): the text, what it found, and
// buttons for the previous and next match and for closing. Typing filters the
// tree (CTreeFind); Enter and F3 step forward, Shift+Enter and Shift+F3 back;
// Esc closes the bar and gives the tree back as it was.

#include <QWidget>

class CTreeFind;
class CTreeOptionsCtrl;
class QLabel;
class QLineEdit;

class CFindBar : public QWidget
{
    Q_OBJECT
public:
    explicit CFindBar(CTreeOptionsCtrl &tree, QWidget *parent = nullptr);

    // Shows the bar (remembering the tree as it is) with the keyboard in its text.
    void Open();
    // Hides the bar and gives the tree back as it was when the bar opened.
    void Close();
    // The next match (the previous one); opens the bar when it is closed.
    void Step(bool forward);
    // The tree changed: matches are found anew.
    void Refresh();

    CTreeFind &Find() const { return *m_find; }
    QLineEdit &Field() const { return *m_field; }
    QString Summary() const;

signals:
    // The text the tree is filtered by: the field's while the bar is open,
    // nothing once it is closed.
    void FilterChanged(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    CTreeOptionsCtrl &m_tree;
    CTreeFind *m_find;
    QLineEdit *m_field;
    QLabel *m_summary;
};
