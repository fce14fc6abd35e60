#include "BidiText.h"

namespace {

constexpr char16_t kFirstStrongIsolate = 0x2068;
constexpr char16_t kPopDirectionalIsolate = 0x2069;

}

QString isolated(const QString &value)
{
    if (value.isEmpty())
        return value;
    return QChar(kFirstStrongIsolate) + value + QChar(kPopDirectionalIsolate);
}

QString labelled(const QString &label, const QString &value, const QString &separator)
{
    return label + separator + isolated(value);
}
