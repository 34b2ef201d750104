// The framework layer: code pages, file filters, messages, huge pages and the Qt dialogs.

#include "TestFiles.h"
#include "framework/AppTitle.h"
#include "framework/CodePage.h"
#include "framework/ColourFont.h"
#include "framework/FileFilter.h"
#include "framework/FileName.h"
#include "framework/HugePages.h"
#include "framework/ModalUi.h"
#include "framework/QtModalUi.h"
#include "framework/StderrModalUi.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <type_traits>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace {
// Runs `act` on the modal dialog as soon as it is shown.
void WhenModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        // Mnemonics reach only an active window, which a loaded machine may show late.
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isActiveWindow()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}
} // namespace

Q_DECLARE_METATYPE(CLogFont)

class TestFramework : public QObject
{
    Q_OBJECT
private slots:
    void converts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lossy"); // text cannot be written in the mode: bytes is what is written
        const int ansi = int(kAnsiCodePage);
        QByteArray every; // Windows-1252; the five bytes it leaves undefined map one to one
        for (int b = 0; b < 256; ++b)
            every.append(char(b));
        const QString every1252 = QString::fromLatin1(every).replace(
            0x80, 32, QString::fromUtf16(u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"));
        QTest::newRow("ansi, every byte") << every << ansi << every1252 << false;
        QTest::newRow("ansi, every byte from the seventh") << every.mid(7) << ansi << every1252.mid(7) << false;
        QTest::newRow("ansi cyrillic") << QByteArray("a?b") << ansi << QString::fromUtf16(u"aЖb") << true;
        QTest::newRow("ansi: one ? per astral character")
            << QByteArray("a?b") << ansi << QString::fromUtf16(u"a😀b") << true;
        QTest::newRow("utf-8") << QByteArray("Donn\xc3\xa9"
                                             "es")
                               << int(kUtf8) << QString::fromUtf16(u"Données") << false;
        // Each byte of what is not UTF-8 (a Latin-1 letter, a cut sequence, an
        // encoded surrogate, an overlong form, a code point past U+10FFFF) is kept.
        QTest::newRow("utf-8, every byte kept")
            << QByteArray("\xe9\xc3(\xed\xa0\x80\xe0\x80\xaf\xf4\x90\x80\x80\xf0\x9f\x98\x80\xe2\x82") << int(kUtf8)
            << QString::fromUtf16(
                   u"\xdce9\xdcc3(\xdced\xdca0\xdc80\xdce0\xdc80\xdcaf\xdcf4\xdc90\xdc80\xdc80😀\xdce2\xdc82")
            << false;
        QTest::newRow("utf-16 as it stands")
            << QByteArray("[\0D\0]\0", 6) << int(kUtf16) << QString::fromUtf16(u"[D]") << false;
        QTest::newRow("empty") << QByteArray() << ansi << QString() << false;
    }

    void converts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(bool, lossy);
        if (!lossy) {
            QString out = QStringLiteral("stale");
            // A size: UTF-16 once returned twice its byte count in 32 bits, which overflowed past 1 GiB.
            static_assert(std::is_same_v<decltype(MultiByteToString(nullptr, qsizetype(), out, mode)), qsizetype>);
            QCOMPARE(MultiByteToString(bytes.constData(), bytes.size(), out, mode), text.size());
            QCOMPARE(out, text);
        }
        QByteArray back;
        bool wasLossy = false;
        QCOMPARE(StringToMultiByte(text.constData(), text.size(), back, mode, &wasLossy), bytes.size());
        QCOMPARE(back, bytes);
        QCOMPARE(wasLossy, lossy);
        if (mode == int(kAnsiCodePage))
            QCOMPARE(AnsiCanEncode(text), !lossy);
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("script filter") << "All Files|*.*||" << QStringList{"All Files (*)"};
        QTest::newRow("two pairs") << "Scripts (*.mbs)|*.mbs|All Files (*.*)|*.*||"
                                   << QStringList{"Scripts (*.mbs)", "All Files (*)"};
        QTest::newRow("several patterns") << "Text (*.txt;*.log)|*.txt; *.log||" << QStringList{"Text (*.txt *.log)"};
        QTest::newRow("other brackets kept")
            << "Scripts (Marrowby)|*.mbs||" << QStringList{"Scripts (Marrowby) (*.mbs)"};
        QTest::newRow("same pattern once, no end marker") << "Any|*.*;*" << QStringList{"Any (*)"};
        QTest::newRow("empty pattern skipped") << "Nothing| |All|*.*||" << QStringList{"All (*)"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QTEST(FileFilterToNameFilters(filter), "expected");
    }

    void nearestFolder()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("sub") && QFile(root.filePath("sub/file.txt")).open(QIODevice::WriteOnly));
        for (const char *relative : {"sub/file.txt", "sub/gone/deeper", "sub/"})
            QCOMPARE(NearestExistingFolder(root.filePath(relative)), QDir::cleanPath(root.filePath("sub")));
        QCOMPARE(NearestExistingFolder(QString()), QString());
    }

    void stderrJoinsLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("two") << "Invalid day\n/a.mbs [Action1] Min Date Filter"
                             << "Invalid day: /a.mbs [Action1] Min Date Filter";
        QTest::newRow("blank lines") << "a\n\n  b  \n"
                                     << "a: b";
        QTest::newRow("full stop gives way") << "Cannot read \"x\".\nNo such file."
                                             << "Cannot read \"x\": No such file.";
    }

    void stderrJoinsLines()
    {
        QFETCH(QString, text);
        QTEST(StderrModalUi::OneLine(text), "line");
    }

    void hugePageRoom_data()
    {
        QTest::addColumn<qint64>("bytes");
        const qint64 huge = 2 << 20;
        for (const qint64 bytes : {huge / 2 - 1, huge / 2, huge - 64, huge - 63, huge, qint64(10000080)})
            QTest::addRow("%lld", bytes) << bytes;
    }

    void hugePageRoom()
    {
        QFETCH(qint64, bytes);
        const qint64 huge = 2 << 20, room = HugePageRoom(bytes);
        if (bytes < huge / 2) {
            QCOMPARE(room, bytes); // a small block is left as it is
            return;
        }
        QVERIFY(room >= bytes && room < bytes + huge);
        // The pages the heap maps for a block of that size are whole huge pages.
        mallopt(M_MMAP_THRESHOLD, int(huge / 2));
        void *block = std::malloc(size_t(room));
        const qint64 mapped = (qint64(malloc_usable_size(block)) + 4095) / 4096 * 4096;
        std::free(block);
        QCOMPARE(mapped % huge, 0);
    }

    void coloursAndFonts_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<CLogFont>("logFont"); // its colour is the COLORREF of `colour`
        QTest::newRow("mixed, bold italic")
            << QColor(0x12, 0x34, 0x56) << CLogFont{"Serif", 12, 700, true, false, false, 0x563412};
        QTest::newRow("blue, light underlined struck out")
            << QColor(0, 0, 255) << CLogFont{"Serif", 9, 300, false, true, true, 0xFF0000};
    }

    void coloursAndFonts()
    {
        QFETCH(QColor, colour);
        QFETCH(CLogFont, logFont);
        QCOMPARE(ColorRefToQColor(logFont.colour), colour);
        QCOMPARE(QColorToColorRef(colour), logFont.colour);
        QCOMPARE(QColorToColorRef(colour.toHsv()), logFont.colour);
        const QFont font = LogFontToQFont(logFont);
        QCOMPARE(std::tuple(font.family(), font.pointSize(), int(font.weight()), font.italic(), font.underline(),
                            font.strikeOut()),
                 std::tuple(logFont.faceName, logFont.pointSize, logFont.weight, logFont.italic, logFont.underline,
                            logFont.strikeOut));
        QCOMPARE(QFontToLogFont(font, logFont.colour), logFont);
    }

    void answerKeys_data()
    {
        QTest::addColumn<bool>("recovery");       // a choice Esc answers with Later, else the save question
        QTest::addColumn<QKeyCombination>("key"); // none: the window's close button
        QTest::addColumn<int>("answer");
        QTest::newRow("save, Alt+S") << false << QKeyCombination(Qt::ALT | Qt::Key_S) << int(SaveAnswer::Save);
        QTest::newRow("save, Enter") << false << QKeyCombination(Qt::Key_Return) << int(SaveAnswer::Save);
        QTest::newRow("save, Alt+D") << false << QKeyCombination(Qt::ALT | Qt::Key_D) << int(SaveAnswer::Discard);
        QTest::newRow("save, Esc") << false << QKeyCombination(Qt::Key_Escape) << int(SaveAnswer::Cancel);
        QTest::newRow("save, closed") << false << QKeyCombination() << int(SaveAnswer::Cancel);
        QTest::newRow("recover, Enter") << true << QKeyCombination(Qt::Key_Return) << 0;
        QTest::newRow("recover, Alt+D") << true << QKeyCombination(Qt::ALT | Qt::Key_D) << 1;
        QTest::newRow("recover, Esc never throws edits away") << true << QKeyCombination(Qt::Key_Escape) << 2;
    }

    void answerKeys()
    {
        QFETCH(bool, recovery);
        QFETCH(QKeyCombination, key);
        WhenModal([&](QWidget *modal) {
            if (key.key() == Qt::Key_unknown)
                modal->close();
            else
                QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, key.key(),
                                key.keyboardModifiers());
        });
        QtModalUi ui;
        QTEST(recovery ? ui.AskChoice(QStringLiteral("Recover?"), {"&Recover", "&Discard", "&Later"}, 2)
                       : int(ui.AskSaveDiscardCancel(QStringLiteral("Save?"))),
              "answer");
    }

    void fileDialogIsSetUp_data()
    {
        QTest::addColumn<QByteArrayList>("entries"); // files in the folder
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("chosen"); // the file then given; empty: refused, saying `message`
        QTest::addColumn<QString>("message");
        const QString lost = QStringLiteral("r\ufffd.mbs"); // as the toolkit shows a byte that is not UTF-8
        QTest::newRow("a new name") << QByteArrayList{} << "chosen.mbs" << QByteArray("chosen.mbs") << "";
        QTest::newRow("a name that is not UTF-8")
            << QByteArrayList{"r\xe9.mbs"} << lost << QByteArray("r\xe9.mbs") << "";
        QTest::newRow("three shown alike")
            << QByteArrayList{"r\xe9.mbs", "r\xef\xbf\xbd.mbs", "r\xe8.mbs"} << lost << QByteArray()
            << "may stand for \"r\\xe8.mbs\", \"r\\xe9.mbs\", \"r\ufffd.mbs\".";
        QTest::newRow("none") << QByteArrayList{} << lost << QByteArray() << "no file of its folder has it";
    }

    void fileDialogIsSetUp()
    {
        QFETCH(QByteArrayList, entries);
        QFETCH(QString, typed);
        QFETCH(QByteArray, chosen);
        QFETCH(QString, message);
        TemporaryFolder folder;
        for (const QByteArray &entry : entries)
            QCOMPARE(::close(::creat((QFile::encodeName(folder.path()) + '/' + entry).constData(), 0644)), 0);
        const FileDialogRequest request{.title = "Please specify a file",
                                        .filter = "All Files (*.*)|*.*||",
                                        .initialDir = {},
                                        .initialFile = folder.filePath(QStringLiteral("missing/name.mbs")),
                                        .okButtonText = "OK"};
        QStringList seen;
        QString told;
        WhenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            seen << dialog->windowTitle() << dialog->directory().absolutePath()
                 << dialog->labelText(QFileDialog::Accept) << dialog->nameFilters();
            dialog->findChild<QLineEdit *>()->setText(typed);
            if (chosen.isEmpty())
                WhenModal([&](QWidget *box) { told = static_cast<QMessageBox *>(box)->text(), box->close(); });
            static_cast<QDialog *>(dialog)->accept();
        });
        QtModalUi ui;
        QCOMPARE(ui.ChooseFile(request),
                 chosen.isEmpty() ? std::nullopt : std::optional(folder.filePath(FileNameFromBytes(chosen))));
        QCOMPARE(seen,
                 (QStringList{request.title, folder.path(), QStringLiteral("OK"), QStringLiteral("All Files (*)")}));
        QVERIFY2(told.contains(message), qPrintable(told));
    }
};

QTEST_MAIN(TestFramework)
#include "tst_framework.moc"
