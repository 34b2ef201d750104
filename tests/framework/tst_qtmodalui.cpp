#include "framework/AppTitle.h"
#include "framework/ColourFont.h"
#include "framework/QtModalUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
// Runs `act` on the modal dialog as soon as it is shown.
void WhenModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}
} // namespace

Q_DECLARE_METATYPE(CLogFont)

class TestQtModalUi : public QObject
{
    Q_OBJECT
private slots:
    void coloursAndFonts_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<CLogFont>("logFont");  // its colour is the COLORREF of `colour`
        QTest::newRow("red, plain") << QColor(255, 0, 0) << CLogFont{"Serif", 10, 400, false, false, false, 0x0000FF};
        QTest::newRow("mixed, bold italic") << QColor(0x12, 0x34, 0x56)
                                            << CLogFont{"Serif", 12, 700, true, false, false, 0x563412};
        QTest::newRow("blue, light underlined struck out") << QColor(0, 0, 255)
                                                           << CLogFont{"Serif", 9, 300, false, true, true, 0xFF0000};
    }

    void coloursAndFonts()
    {
        QFETCH(QColor, colour);
        QFETCH(CLogFont, logFont);
        QCOMPARE(ColorRefToQColor(logFont.colour), colour);
        QCOMPARE(QColorToColorRef(colour), logFont.colour);
        QCOMPARE(QColorToColorRef(colour.toHsv()), logFont.colour);
        const QFont font = LogFontToQFont(logFont);
        QCOMPARE(font.family(), logFont.faceName);
        QCOMPARE(font.pointSize(), logFont.pointSize);
        QCOMPARE(int(font.weight()), logFont.weight);
        QCOMPARE(font.italic(), logFont.italic);
        QCOMPARE(QFontToLogFont(font, logFont.colour), logFont);
    }

    void yesNoIgnoresEscape_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("button");
        QTest::newRow("yes") << QMessageBox::Yes;
        QTest::newRow("no") << QMessageBox::No;
    }

    void yesNoIgnoresEscape()
    {
        QFETCH(QMessageBox::StandardButton, button);
        bool stayedOpen = false;
        QString caption;
        WhenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            caption = box->windowTitle();
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            stayedOpen = box->isVisible();
            box->close();
            stayedOpen = stayedOpen && box->isVisible();
            box->button(button)->click();
        });
        QtModalUi ui;
        QCOMPARE(ui.AskYesNo(QStringLiteral("Save changes?")), button == QMessageBox::Yes);
        QVERIFY(stayedOpen);
        QCOMPARE(caption, AppTitle());
    }

    void fileDialogIsSetUp()
    {
        QTemporaryDir folder;
        FileDialogRequest request;
        request.title = QStringLiteral("Please specify a file");
        request.filter = QStringLiteral("All Files (*.*)|*.*||");
        request.initialFile = folder.filePath(QStringLiteral("missing/name.mbs"));
        request.okButtonText = QStringLiteral("OK");
        QStringList seen;
        WhenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            seen << dialog->windowTitle() << dialog->directory().absolutePath() << dialog->labelText(QFileDialog::Accept)
                 << dialog->nameFilters();
            dialog->findChild<QLineEdit *>()->setText(QStringLiteral("chosen.mbs"));
            static_cast<QDialog *>(dialog)->accept();
        });
        QtModalUi ui;
        QCOMPARE(ui.ChooseFile(request), std::optional<QString>(folder.filePath(QStringLiteral("chosen.mbs"))));
        QCOMPARE(seen, (QStringList{request.title, folder.path(), QStringLiteral("OK"), QStringLiteral("All Files (*)")}));
    }
};

QTEST_MAIN(TestQtModalUi)
#include "tst_qtmodalui.moc"
