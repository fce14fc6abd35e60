#pragma once

#include <QLocale>
#include <QString>

// The name of the language of an ISO 639 code ("fr", "eng") in the language of `in`, as a
// menu entry shows it ("Anglais", "الإنجليزية"); empty for no known language ("und", "").
QString languageName(const QString &code, const QLocale &in);
