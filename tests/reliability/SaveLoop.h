#pragma once

// The image the save loop writes: generation g fills it with 64-bit words,
// word 0 = g and word i = g * K + i, so every generation differs from every
// other one in every word, and a file that mixes two generations shows it.

#include <QByteArray>

#include <cstring>

namespace SaveLoop {

inline constexpr quint64 kWordStep = 0x9E3779B97F4A7C15ull;

inline QByteArray Image(quint64 generation, qsizetype size)
{
    QByteArray image(size, Qt::Uninitialized);
    const qsizetype words = size / 8;
    for (qsizetype i = 0; i < words; ++i) {
        const quint64 word = i == 0 ? generation : generation * kWordStep + quint64(i);
        std::memcpy(image.data() + i * 8, &word, 8);
    }
    return image;
}

// The generation a file holds whole, or -1 when it is cut short, too long or
// a mix of generations.
inline qint64 GenerationOf(const QByteArray &file, qsizetype size)
{
    if (file.size() != size || size < 8)
        return -1;
    quint64 generation = 0;
    std::memcpy(&generation, file.constData(), 8);
    return Image(generation, size) == file ? qint64(generation) : -1;
}

} // namespace SaveLoop
