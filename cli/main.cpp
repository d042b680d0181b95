// brennicor-cli: the editor's commands for scripts and batch work, on the same
// character document and field rules as the window.

#include "Arguments.h"
#include "Console.h"
#include "core/SafeFile.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUARVINEL_VERSION));
    CliPrompts prompts;
    // A lock holds a descriptor per folder and a batch two: the system's
    // whole allowance is taken, so that batches over many folders work.
    SafeFile::RaiseDescriptorLimit();
    // File names are bytes: one that is not UTF-8 must still name its file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(SafeFile::DecodeName(argv[i]));
    return RunCommandLine(arguments);
}
