// brennicor-cli: the editor's commands for scripts and batch work, on the same
// character document and field rules as the window.

#include "Arguments.h"
#include "Console.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUARVINEL_VERSION));
    CliPrompts prompts;
    return RunCommandLine(QCoreApplication::arguments().mid(1));
}
