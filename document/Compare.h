#pragma once

#include <QString>

class CDiablo2Doc;

// The first offset from start on at which the two images hold different bytes,
// among the offsets inside both; NoDifference when there is none.
inline constexpr quint32 NoDifference = 0xFFFFFFFFu;
quint32 FindDifference(const CDiablo2Doc &edited, const CDiablo2Doc &compare, quint32 start);

// What the end of the walk tells when the two images differ in length, or an
// empty text when they are as long as each other.
QString SizeDifference(const CDiablo2Doc &edited, const CDiablo2Doc &compare);
