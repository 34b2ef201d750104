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

class TestQtModalUi : public QObject
{
    Q_OBJECT
private slots:
    void colours_data();
    void colours();
    void fonts_data();
    void fonts();
    void yesNoIgnoresEscape_data();
    void yesNoIgnoresEscape();
    void fileDialogIsSetUp();
};

void TestQtModalUi::colours_data()
{
    QTest::addColumn<quint32>("colorRef");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << quint32(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("green") << quint32(0x00FF00) << QColor(0, 255, 0);
    QTest::newRow("blue") << quint32(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("mixed") << quint32(0x563412) << QColor(0x12, 0x34, 0x56);
}

void TestQtModalUi::colours()
{
    QFETCH(quint32, colorRef);
    QFETCH(QColor, colour);
    QCOMPARE(ColorRefToQColor(colorRef), colour);
    QCOMPARE(QColorToColorRef(colour), colorRef);
    QCOMPARE(QColorToColorRef(colour.toHsv()), colorRef);
}

void TestQtModalUi::fonts_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::newRow("plain") << 10 << 400 << false << false << false;
    QTest::newRow("bold italic") << 12 << 700 << true << false << false;
    QTest::newRow("light underlined") << 9 << 300 << false << true << false;
    QTest::newRow("struck out") << 20 << 900 << false << false << true;
}

void TestQtModalUi::fonts()
{
    QFETCH(int, pointSize);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    const CLogFont logFont{QStringLiteral("Serif"), pointSize, weight, italic, underline, strikeOut, RGB(1, 2, 3)};
    const QFont font = LogFontToQFont(logFont);
    QCOMPARE(font.family(), QStringLiteral("Serif"));
    QCOMPARE(font.pointSize(), pointSize);
    QCOMPARE(int(font.weight()), weight);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(QFontToLogFont(font, logFont.colour), logFont);
}

void TestQtModalUi::yesNoIgnoresEscape_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("button");
    QTest::newRow("yes") << QMessageBox::Yes;
    QTest::newRow("no") << QMessageBox::No;
}

void TestQtModalUi::yesNoIgnoresEscape()
{
    QFETCH(QMessageBox::StandardButton, button);
    bool openAfterEscape = false;
    bool openAfterClose = false;
    QString caption;
    WhenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        caption = box->windowTitle();
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        openAfterEscape = box->isVisible();
        box->close();
        openAfterClose = box->isVisible();
        box->button(button)->click();
    });
    QtModalUi ui;
    QCOMPARE(ui.AskYesNo(QStringLiteral("Save changes?")), button == QMessageBox::Yes);
    QVERIFY(openAfterEscape);
    QVERIFY(openAfterClose);
    QCOMPARE(caption, AppTitle());
}

void TestQtModalUi::fileDialogIsSetUp()
{
    QTemporaryDir folder;
    FileDialogRequest request;
    request.title = QStringLiteral("Please specify a file");
    request.filter = QStringLiteral("All Files (*.*)|*.*||");
    request.initialFile = folder.filePath(QStringLiteral("missing/name.mbs"));
    request.okButtonText = QStringLiteral("OK");
    QStringList filters;
    QString title;
    QString directory;
    QString okText;
    WhenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        title = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        okText = dialog->labelText(QFileDialog::Accept);
        dialog->findChild<QLineEdit *>()->setText(QStringLiteral("chosen.mbs"));
        static_cast<QDialog *>(dialog)->accept();
    });
    QtModalUi ui;
    QCOMPARE(ui.ChooseFile(request), std::optional<QString>(folder.filePath(QStringLiteral("chosen.mbs"))));
    QCOMPARE(filters, QStringList{QStringLiteral("All Files (*)")});
    QCOMPARE(title, request.title);
    QCOMPARE(directory, folder.path());
    QCOMPARE(okText, QStringLiteral("OK"));
}

QTEST_MAIN(TestQtModalUi)
#include "tst_qtmodalui.moc"
