#include "treeoptions/TreeOptionsSpinCtrl.h"

#include "treeoptions/TreeOptionsEdit.h"

#include <QToolButton>
#include <QVBoxLayout>

CTreeOptionsSpinCtrl::CTreeOptionsSpinCtrl(QWidget *parent)
    : QWidget(parent)
    , m_pUp(new QToolButton(this))
    , m_pDown(new QToolButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {m_pUp, m_pDown}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    m_pUp->setArrowType(Qt::UpArrow);
    m_pDown->setArrowType(Qt::DownArrow);
    m_pUp->setObjectName(QStringLiteral("up"));
    m_pDown->setObjectName(QStringLiteral("down"));
    connect(m_pUp, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(m_pDown, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void CTreeOptionsSpinCtrl::StepBy(int delta)
{
    if (!m_pEdit)
        return;
    int lower = 0;
    int upper = 0;
    GetValueRange(lower, upper);
    bool ok = false;
    const qlonglong current = m_pEdit->text().trimmed().toLongLong(&ok);
    const qlonglong next = ok ? current + delta : lower;
    m_pEdit->setText(QString::number(qBound(qlonglong(lower), next, qlonglong(upper))));
}

QSize CTreeOptionsSpinCtrl::sizeHint() const
{
    return QSize(16, 20);
}
