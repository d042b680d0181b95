#pragma once

#include <QStringList>

// The application: starts the program and runs the main window modally.
class CBrennicorApp
{
public:
    CBrennicorApp(int &argc, char **argv);
    ~CBrennicorApp();
    CBrennicorApp(const CBrennicorApp &) = delete;
    CBrennicorApp &operator=(const CBrennicorApp &) = delete;

    // Runs the program to its end; returns the process exit code.
    int InitInstance();

private:
    QStringList m_arguments;
};
