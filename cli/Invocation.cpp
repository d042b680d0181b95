#include "Invocation.h"

#include "Console.h"

#include "core/NumberParse.h"
#include "document/PanelFields.h"

QString ProgramName()
{
    return QStringLiteral("brennicor-cli");
}

bool SplitFiles(const Invocation &invocation, int trailing, QStringList &files, QStringList &rest)
{
    const qsizetype fileCount = invocation.operands.size() - trailing;
    if (fileCount <= 0) {
        ReportWrongCommandLine(QStringLiteral("no file given. Try '%1 %2 --help'.").arg(ProgramName(), invocation.command));
        return false;
    }
    files = invocation.operands.mid(0, fileCount);
    rest = invocation.operands.mid(fileCount);
    return true;
}

bool ReadUnsigned(const QString &caption, const QString &what, const QString &text, quint32 &value)
{
    switch (ParseWholeUnsigned(text, value)) {
    case WholeNumber::Ok:
        return true;
    case WholeNumber::NotANumber:
        Report(caption, QStringLiteral("%1 \"%2\": %3").arg(what, text, QLatin1String(kParseUIntMessage)));
        return false;
    case WholeNumber::TooLarge:
        Report(caption, OverLimitText(what, text.trimmed(), 0xFFFFFFFFu));
        return false;
    }
    return false;
}
