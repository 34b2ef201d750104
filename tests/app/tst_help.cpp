// Help: the guide's entry for every setting, F1 opening the selected setting's entry (or the help file
// beside the program), the help window, and the command line: --help and --version alone, else a path.

#include "AppSession.h"
#include "app/CommandLine.h"
#include "app/HelpWindow.h"
#include "app/ProgramOptions.h"
#include "app/SettingGuide.h"
#include "framework/AppVersion.h"
#include "framework/FileName.h"
#include "script/SettingCatalogue.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>

namespace {

const QString kProgramFolder = QStringLiteral(MARROWPAD_PROGRAM_FOLDER);
const QString kGuide = CHelpOpener::GuideFilePath(kProgramFolder);

// The first group of every match of `pattern` in `html`.
QStringList Captures(const QString &html, const QString &pattern)
{
    QStringList captures;
    for (QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(html); it.hasNext();)
        captures << it.next().captured(1);
    return captures;
}

// The entry's anchor is in the browser's view.
bool AnchorInView(const QTextBrowser &browser, const QString &anchor)
{
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().anchorNames().contains(anchor))
                continue;
            QTextCursor cursor(browser.document());
            cursor.setPosition(it.fragment().position());
            return browser.viewport()->rect().contains(browser.cursorRect(cursor).center());
        }
    }
    return false;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<AppSession>(); }

    void cleanup()
    {
        QCOMPARE(m_s->ui.unexpected, QStringList());
        QCOMPARE(m_s->ui.messages, QStringList());
        m_s.reset();
    }

    void guideCoversEveryCatalogueSetting()
    {
        const CSettingGuide &guide = CSettingGuide::Shipped();
        QStringList labels{PromptedOperationText()};
        for (const SettingRow &row : SettingCatalogue())
            labels << QString::fromUtf16(row.label);
        for (const QString &label : labels) {
            const QString anchor = CSettingGuide::AnchorForLabel(label);
            QVERIFY2(!guide.Summary(anchor).isEmpty(),
                     qPrintable(QStringLiteral("no entry %1 for \"%2\"").arg(anchor, label)));
            // The item finds it with its value too.
            QCOMPARE(CSettingGuide::AnchorForItemText(label + QStringLiteral("7")),
                     label.endsWith(ValueSeparator()) ? anchor : QString());
            QCOMPARE(CSettingGuide::AnchorForItemText(label), anchor);
        }
        QCOMPARE(guide.EntryCount(), labels.size()); // and no entry of a setting that is not there
        // The guide the program shows is the one its tooltips are read from.
        QCOMPARE(QString::fromUtf8(ReadAll(kGuide)), CSettingGuide::ShippedHtml());
    }

    void guideLinksAndPicturesResolve()
    {
        const QString html = CSettingGuide::ShippedHtml();
        QSet<QString> ids;
        for (const QString &name : Captures(html, QStringLiteral(" id=\"([^\"]+)\""))) {
            QVERIFY2(!ids.contains(name), qPrintable(QStringLiteral("two ids %1").arg(name)));
            ids << name;
        }
        for (const QString &target : Captures(html, QStringLiteral("href=\"#([^\"]+)\"")))
            QVERIFY2(ids.contains(target), qPrintable(QStringLiteral("no #%1").arg(target)));
        QVERIFY(ids.contains(QStringLiteral("overview"))
                && ids.contains(QStringLiteral("contents"))); // where F1 and Contents go
        const QDir guide = QFileInfo(kGuide).dir();
        const QStringList pictures = Captures(html, QStringLiteral("<img src=\"([^\"]+)\""));
        for (const QString &file : pictures)
            QVERIFY2(!QImage(guide.filePath(file)).isNull(), qPrintable(file));
        QCOMPARE(pictures.size(), 5);
    }

    void guideEntriesAreReadWhole_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("summaries"); // of setting-a, setting-b
        QTest::newRow("markup and entities")
            << "<div id=\"setting-a\"><h3>A</h3><p class=\"summary\">Takes <code>*.*</code>\n"
               "&amp; more.</p></div>"
            << QStringList{"Takes *.* & more.", ""};
        QTest::newRow("no summary borrows the next") << "<div id=\"setting-a\"><p>x</p></div>"
                                                        "<div id=\"setting-b\"><p class=\"summary\">B.</p></div>"
                                                     << QStringList{"", "B."};
    }

    void guideEntriesAreReadWhole()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, summaries);
        const CSettingGuide guide(html);
        QCOMPARE(QStringList({guide.Summary("setting-a"), guide.Summary("setting-b")}), summaries);
    }

    void f1OpensTheSelectedSettingsEntry_data()
    {
        QTest::addColumn<QStringList>("path"); // root name, then labels; empty: nothing selected
        QTest::addColumn<QString>("anchor");
        QTest::newRow("value") << QStringList{"Action1", "File Mask: "} << "setting-file-mask";
        QTest::newRow("in a group") << QStringList{"Action1", "Filters", "Exclude Hidden Files"}
                                    << "setting-exclude-hidden-files";
        QTest::newRow("last entry") << QStringList{"Default", "Filters", "Reverse Filters"}
                                    << "setting-reverse-filters";
        QTest::newRow("prompted") << QStringList{"Action1", "Prompted Operation"} << "setting-prompted-operation";
        QTest::newRow("root") << QStringList{"Action1"} << "overview";
        QTest::newRow("nothing") << QStringList{} << "overview";
    }

    void f1OpensTheSelectedSettingsEntry()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, anchor);
        CAppDlg &dlg = m_s->Open();
        dlg.Help() = CHelpOpener(kProgramFolder, &dlg);
        CTreeOptionsCtrl &tree = dlg.Tree();
        tree.setFocus();
        if (path.isEmpty()) {
            tree.clearSelection();
        } else {
            QTreeWidgetItem *root = tree.findItems(path.first(), Qt::MatchExactly).value(0);
            QTreeWidgetItem *item = path.size() > 1 ? Find(root, path.last()) : root;
            QVERIFY(item);
            tree.setCurrentItem(item);
        }
        QTest::keyClick(&tree, Qt::Key_F1);
        CHelpWindow *window = dlg.Help().Window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Browser().source().fragment(), anchor);
        QTRY_VERIFY(AnchorInView(window->Browser(), anchor));
    }

    void f1OpensTheHelpFileBesideTheProgramFirst()
    {
        // An installation: bin/ with the program, share/marrowpad/guide/ with the guide.
        QTemporaryDir prefix;
        const QString bin = prefix.filePath("bin");
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(prefix.filePath("share/marrowpad/guide")));
        QVERIFY(QFile::copy(kGuide, prefix.filePath("share/marrowpad/guide/index.html")));
        const QString chm = QDir(bin).filePath("marrowpad.chm");
        QVERIFY(QFile(chm).open(QIODevice::WriteOnly));

        CAppDlg &dlg = m_s->Open();
        QList<QUrl> urls;
        dlg.Help() = CHelpOpener(bin, &dlg);
        dlg.Help().SetUrlOpener([&](const QUrl &url) {
            urls << url;
            return true;
        });
        dlg.Tree().setFocus();
        QTest::keyClick(&dlg.Tree(), Qt::Key_F1);
        QCOMPARE(urls, QList<QUrl>{QUrl::fromLocalFile(chm)});
        QVERIFY(!dlg.Help().Window());

        QVERIFY(QFile::remove(chm));
        QTest::keyClick(&dlg.Tree(), Qt::Key_F1);
        QCOMPARE(urls.size(), 1);
        QVERIFY(dlg.Help().Window() && dlg.Help().Window()->isVisible());
        QCOMPARE(dlg.Help().Window()->Browser().source().toLocalFile(),
                 QFileInfo(prefix.filePath("share/marrowpad/guide/index.html")).absoluteFilePath());
        // Neither there: the message says where help was looked for.
        QVERIFY(QFile::remove(prefix.filePath("share/marrowpad/guide/index.html")));
        QVERIFY(!dlg.Help().Open() && urls.size() == 1);
        QVERIFY(m_s->ui.messages.size() == 1 && m_s->ui.messages.takeFirst().contains(bin));
    }

    void helpWindowGoesBackForwardAndSearches()
    {
        CHelpWindow window;
        window.ShowGuide(kGuide, "overview");
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ShowGuide(kGuide, "setting-operation");
        QTextBrowser &browser = window.Browser();
        QTest::keyClick(&browser, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(browser.source().fragment(), QStringLiteral("overview"));
        QTest::keyClick(&browser, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(browser.source().fragment(), QStringLiteral("setting-operation"));

        // Ctrl+F, a word, Enter: found after the cursor, then round the end.
        QTest::keyClick(&browser, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(window.SearchField().hasFocus());
        QTest::keyClicks(&window.SearchField(), "Reverse Filters");
        QTest::keyClick(&window.SearchField(), Qt::Key_Return);
        QCOMPARE(browser.textCursor().selectedText(), QStringLiteral("Reverse Filters"));
        const int first = browser.textCursor().position();
        QTest::keyClick(&browser, Qt::Key_F3);
        QTest::keyClick(&browser, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(browser.textCursor().position(), first);
        window.SearchField().setText("no such words in the guide");
        QVERIFY(!window.FindNext());

        // Help > About names the program, its version and its licence.
        QAction *about = nullptr;
        for (QAction *menu : window.menuBar()->actions())
            for (QAction *action : menu->menu()->actions())
                if (action->text() == u"&About Marrowpad")
                    about = action;
        QVERIFY(about);
        about->trigger();
        QCOMPARE(m_s->ui.messages.size(), 1);
        const QString text = m_s->ui.messages.takeFirst();
        QVERIFY(text.startsWith(QStringLiteral("Marrowpad %1\n").arg(kAppVersion)) && text.contains(u"MIT licence"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after the program name
        QTest::addColumn<QString>("answer");        // how the text printed starts; empty: a script path
        QTest::addColumn<QString>("path");          // the script it names
        QTest::newRow("--help") << QStringList{"--help"} << "Usage: marrowpad [SCRIPT]\n"
                                << "--help";
        QTest::newRow("--version") << QStringList{"--version"} << QStringLiteral("marrowpad %1\n").arg(kAppVersion)
                                   << "--version";
        QTest::newRow("no arguments") << QStringList{} << ""
                                      << "";
        QTest::newRow("a path") << QStringList{"backup.mbs"} << ""
                                << "backup.mbs";
        QTest::newRow("two words") << QStringList{"--help", "me.mbs"} << ""
                                   << "--help me.mbs";
        QTest::newRow("another spelling") << QStringList{"-h"} << ""
                                          << "-h";
        QTest::newRow("quoted by a launcher") << QStringList{"\"--version\""} << ""
                                              << "--version";
        QTest::newRow("split by the shell") << QStringList{"/home/anna/my", "scripts/a", "b.mbs"} << ""
                                            << "/home/anna/my scripts/a b.mbs";
        QTest::newRow("quoted and split") << QStringList{"\"/tmp/a", "b.mbs\""} << ""
                                          << "/tmp/a b.mbs";
        QTest::newRow("quote at one end only") << QStringList{"\"/tmp/a.mbs"} << ""
                                               << "\"/tmp/a.mbs";
        QTest::newRow("a lone quote") << QStringList{"\""} << ""
                                      << "\"";
        const QString latin1 = FileNameFromBytes("/tmp/caf\xe9 \xff.mbs"); // bytes that are not UTF-8 stay
        QTest::newRow("not UTF-8, split") << QString(latin1).split(u' ') << "" << latin1;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        QByteArrayList bytes{"marrowpad"};
        for (const QString &argument : arguments)
            bytes << FileNameBytes(argument).value();
        std::vector<const char *> argv;
        for (const QByteArray &argument : bytes)
            argv.push_back(argument.constData());
        const std::optional<QString> printed = CProgramOptions::Answer(int(argv.size()), argv.data());
        QCOMPARE(printed.has_value(), !answer.isEmpty());
        QVERIFY2(!printed || printed->startsWith(answer), qPrintable(printed.value_or(QString())));
        QTEST(CCommandLine::ScriptPath(int(argv.size()), argv.data()), "path");
    }

private:
    std::unique_ptr<AppSession> m_s;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
