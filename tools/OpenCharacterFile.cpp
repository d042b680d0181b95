#include "OpenCharacterFile.h"

#include "document/Diablo2Doc.h"
#include "core/Prompts.h"

namespace {

constexpr const char *kDefaultExtension = "d2s";
constexpr const char *kOpenFilter = "Char Files (*.d2s)|*.d2s|All Files (*.*)|*.*||";

} // namespace

bool OpenCharacterFile(CDiablo2Doc &doc)
{
    doc.Clear();
    QString path;
    if (!Prompts().GetOpenFileName(path, QString::fromLatin1(kDefaultExtension), QString::fromLatin1(kOpenFilter)))
        return false;
    return doc.OpenFile(path);
}
