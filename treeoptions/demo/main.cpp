// Shows the options tree with every sort of item, for trying it by hand.
#include "framework/QtModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/demo/TreeOptionsDemo.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QtModalUi modalUi;
    ScopedModalUi install(modalUi);

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Options tree"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *tree = new CTreeOptionsCtrl(&dialog);
    layout->addWidget(tree);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    BuildTreeOptionsDemo(*tree);
    dialog.resize(560, 640);
    dialog.exec();
    return 0;
}
