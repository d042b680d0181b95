#include "WriteCharacter.h"

#include "bench/common/BenchCharacter.h"

#include <QString>

bool WriteBenchCharacter(const char *path)
{
    return BenchCharacter().WriteTo(QString::fromLocal8Bit(path));
}
