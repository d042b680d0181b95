#include "Compare.h"

#include "Diablo2Doc.h"

#include <algorithm>
#include <cstring>

quint32 FindDifference(const CDiablo2Doc &edited, const CDiablo2Doc &compare, quint32 start)
{
    const QByteArrayView a = edited.ImageForCompare();
    const QByteArrayView b = compare.ImageForCompare();
    const qsizetype common = std::min(a.size(), b.size());
    if (qsizetype(start) >= common)
        return NoDifference;
    // Equal stretches are passed over a block at a time by memcmp, which takes
    // many bytes per step; only the block that holds the first difference is
    // walked byte by byte to find it.
    constexpr qsizetype kBlock = 4096;
    for (qsizetype at = start; at < common; at += kBlock) {
        const qsizetype length = std::min(kBlock, common - at);
        if (std::memcmp(a.data() + at, b.data() + at, size_t(length)) != 0) {
            const auto mismatch = std::mismatch(a.begin() + at, a.begin() + at + length, b.begin() + at);
            return quint32(mismatch.first - a.begin());
        }
    }
    return NoDifference;
}

QString SizeDifference(const CDiablo2Doc &edited, const CDiablo2Doc &compare)
{
    const quint32 editedSize = edited.GetSize(), compareSize = compare.GetSize();
    if (compareSize == editedSize)
        return QString();
    const bool bigger = compareSize > editedSize;
    return QStringLiteral("The compare file is %1 than the original file by %2 bytes.")
        .arg(bigger ? QStringLiteral("bigger") : QStringLiteral("smaller"))
        .arg(bigger ? compareSize - editedSize : editedSize - compareSize);
}
