#include "OptText.h"

#include <ostream>

void PrintTo(const OptText &text, std::ostream *out)
{
    *out << (text ? '"' + text->toStdString() + '"' : std::string("nullopt"));
}
