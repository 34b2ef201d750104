#pragma once
// The application: runs the editor dialog once and ends when it closes.

#include <QApplication>

class CAppApp : public QApplication
{
    Q_OBJECT
public:
    CAppApp(int &argc, char **argv);

    // Shows the editor with the script the command line names (a new script
    // when it names none), the program's message boxes and pickers in place;
    // returns the program's exit code when the editor is closed.
    int InitInstance();

private:
    // main's, which the toolkit leaves with the arguments that are not its own.
    int &m_argc;
    char **m_argv;
};
