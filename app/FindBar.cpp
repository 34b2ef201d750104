#include "app/FindBar.h"

#include "app/FindHighlight.h"
#include "app/TreeFind.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

CFindBar::CFindBar(CTreeOptionsCtrl &tree, QWidget *parent)
    : QWidget(parent)
    , m_tree(tree)
    , m_find(new CTreeFind(tree, this))
    , m_field(new QLineEdit(this))
    , m_summary(new QLabel(this))
{
    setAccessibleName(QStringLiteral("Find"));
    auto *label = new QLabel(QStringLiteral("F&ind:"), this);
    label->setBuddy(m_field);
    m_field->setAccessibleName(QStringLiteral("Find"));
    m_field->setAccessibleDescription(QStringLiteral("Shows the settings whose name or value holds this text"));
    m_field->setClearButtonEnabled(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_summary->setFocusPolicy(Qt::TabFocus);
    auto button = [this](const QString &text, const QString &name, const QString &tip, auto handler) {
        auto *b = new QToolButton(this);
        b->setText(text);
        b->setAccessibleName(name);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(label);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_summary);
    layout->addWidget(button(QStringLiteral("\u25B2"), QStringLiteral("Previous match"),
                             QStringLiteral("Previous match (Shift+F3)"), [this] { Step(false); }));
    layout->addWidget(button(QStringLiteral("\u25BC"), QStringLiteral("Next match"), QStringLiteral("Next match (F3)"),
                             [this] { Step(true); }));
    layout->addWidget(button(QStringLiteral("\u2715"), QStringLiteral("Close find"), QStringLiteral("Close (Esc)"),
                             [this] { Close(); }));
    tree.setItemDelegate(new CFindHighlight(*m_find, &tree));
    connect(m_field, &QLineEdit::textChanged, m_find, &CTreeFind::SetText);
    connect(m_field, &QLineEdit::textChanged, this, &CFindBar::FilterChanged);
    connect(m_find, &CTreeFind::Changed, this, [this] { m_summary->setText(m_find->Summary()); });
    hide();
}

void CFindBar::Open()
{
    if (!m_find->IsActive()) {
        m_find->Begin();
        m_find->SetText(m_field->text());
        emit FilterChanged(m_field->text());
    }
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void CFindBar::Close()
{
    if (!m_find->IsActive())
        return;
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    m_find->End();
    hide();
    emit FilterChanged(QString());
    if (hadFocus || !QApplication::focusWidget())
        m_tree.setFocus(Qt::OtherFocusReason);
}

void CFindBar::Step(bool forward)
{
    if (!m_find->IsActive()) {
        Open();
        return;
    }
    m_find->Step(forward);
}

void CFindBar::Refresh()
{
    m_find->Refresh();
}

QString CFindBar::Summary() const
{
    return m_summary->text();
}

void CFindBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        Close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Step(!(event->modifiers() & Qt::ShiftModifier));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
