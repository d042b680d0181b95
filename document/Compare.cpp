#include "Compare.h"

#include "Diablo2Doc.h"

#include <algorithm>

quint32 FindDifference(const CDiablo2Doc &edited, const CDiablo2Doc &compare, quint32 start)
{
    const QByteArrayView a = edited.Bytes();
    const QByteArrayView b = compare.Bytes();
    const qsizetype common = std::min(a.size(), b.size());
    if (qsizetype(start) >= common)
        return NoDifference;
    const auto mismatch = std::mismatch(a.begin() + start, a.begin() + common, b.begin() + start);
    if (mismatch.first == a.begin() + common)
        return NoDifference;
    return quint32(mismatch.first - a.begin());
}
