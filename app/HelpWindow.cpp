#include "app/HelpWindow.h"

#include "app/AppIcon.h"
#include "framework/AppTitle.h"
#include "framework/AppVersion.h"
#include "framework/ModalUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

CHelpWindow::CHelpWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
    , m_search(new QLineEdit(this))
    , m_searchState(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Marrowpad Help"));
    setWindowIcon(AppIcon());
    m_browser->setOpenExternalLinks(true);

    m_search->setPlaceholderText(QStringLiteral("Search the guide"));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::returnPressed, this, &CHelpWindow::FindNext);
    auto *label = new QLabel(QStringLiteral("&Find:"), this);
    label->setBuddy(m_search);
    auto *previous = new QPushButton(QStringLiteral("&Previous"), this);
    auto *next = new QPushButton(QStringLiteral("&Next"), this);
    connect(previous, &QPushButton::clicked, this, &CHelpWindow::FindPrevious);
    connect(next, &QPushButton::clicked, this, &CHelpWindow::FindNext);

    auto *bar = new QHBoxLayout;
    bar->addWidget(label);
    bar->addWidget(m_search, 1);
    bar->addWidget(previous);
    bar->addWidget(next);
    bar->addWidget(m_searchState);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(m_browser, 1);
    layout->addLayout(bar);
    setCentralWidget(central);
    BuildMenus();
    resize(760, 620);
}

void CHelpWindow::BuildMenus()
{
    auto *toolBar = addToolBar(QStringLiteral("Navigation"));
    toolBar->setMovable(false);
    QMenu *go = menuBar()->addMenu(QStringLiteral("&Go"));
    QAction *back = go->addAction(QStringLiteral("&Back"), m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction *forward = go->addAction(QStringLiteral("&Forward"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction *contents = go->addAction(QStringLiteral("&Contents"), this, [this] {
        m_browser->setSource(m_home.resolved(QUrl(QStringLiteral("#contents"))));
    });
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    go->addSeparator();
    QAction *find = go->addAction(QStringLiteral("&Find..."), this, &CHelpWindow::OnFind);
    find->setShortcut(QKeySequence::Find);
    go->addAction(QStringLiteral("Find &Next"), this, &CHelpWindow::FindNext)->setShortcut(QKeySequence::FindNext);
    go->addAction(QStringLiteral("Find &Previous"), this, &CHelpWindow::FindPrevious)
        ->setShortcut(QKeySequence::FindPrevious);
    go->addSeparator();
    go->addAction(QStringLiteral("&Close"), this, &QWidget::close)->setShortcut(QKeySequence(Qt::Key_Escape));
    toolBar->addAction(back);
    toolBar->addAction(forward);
    toolBar->addAction(contents);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Marrowpad"), this, &CHelpWindow::OnAbout);
}

void CHelpWindow::ShowGuide(const QString &guideFile, const QString &anchor)
{
    m_home = QUrl::fromLocalFile(guideFile);
    // The guide's style sheet, as the text browser reads no linked one.
    QFile style(QFileInfo(guideFile).dir().filePath(QStringLiteral("guide.css")));
    if (style.open(QIODevice::ReadOnly))
        m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll())
                                                    + QStringLiteral("body { margin: 6px; padding: 0; }"));
    QUrl url = m_home;
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    // Shown first, so the anchor is scrolled to in the browser's final size.
    show();
    raise();
    activateWindow();
    if (m_browser->source() == url) // setSource would not scroll back to it
        m_browser->scrollToAnchor(anchor);
    else
        m_browser->setSource(url);
}

QString CHelpWindow::AboutText()
{
    return QStringLiteral("Marrowpad %1\n\n"
                          "%2: the editor for the script files of the Marrowby folder-synchronisation engine, "
                          "with mbscript, its companion for the command line.\n\n"
                          "Free software under the MIT licence: you may use, copy, change and pass it on, "
                          "keeping its copyright and licence notice. It comes without any warranty.")
        .arg(QLatin1String(kAppVersion), AppTitle());
}

void CHelpWindow::OnAbout()
{
    ModalUi().ShowInformation(AboutText());
}

void CHelpWindow::OnFind()
{
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

bool CHelpWindow::FindNext()
{
    return Find(false);
}
bool CHelpWindow::FindPrevious()
{
    return Find(true);
}

bool CHelpWindow::Find(bool backwards)
{
    const QString text = m_search->text();
    m_searchState->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags))
        return true;
    // Round the end of the guide, once.
    QTextCursor cursor = m_browser->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(cursor);
    if (m_browser->find(text, flags))
        return true;
    m_searchState->setText(QStringLiteral("Not found"));
    return false;
}
