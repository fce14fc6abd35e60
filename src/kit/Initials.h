#pragma once

#include <QString>
#include <QStringView>

// Up to two initials of a title for a picture's placeholder; "TV" when there are none.
// Words are split at blanks, "|", "[" and "]"; a leading tag such as FR, HD, 4K or VIP
// gives none, and each word gives its first letter or digit. Only the first characters
// the rule needs are read, so a title of any length costs no more than a short one.
QString titleInitials(QStringView title);
