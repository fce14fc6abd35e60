#include "sources/EpisodeTitle.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

void PrintTo(const EpisodeTitle &title, std::ostream *os)
{
    *os << "{" << title.show.toStdString() << " | " << title.season << " | "
        << (title.episode ? std::to_string(*title.episode) : "-") << "}";
}

namespace {

struct TitleCase {
    const char *name;
    const char *show;
    qint64 season;
    std::optional<qint64> episode;
};

const TitleCase kTitles[] = {
    { "Show S01E02", "Show", 1, 2 },
    { "Show.s1.e2", "Show", 1, 2 },
    { "Show - S01 E02", "Show", 1, 2 },
    { "Show Special", "Show Special", 1, std::nullopt },
    { "S01E05", "S01E05", 1, 5 },
    { " |: S02E03", " |: S02E03", 2, 3 },
    { "A S01E02 B S03E04", "A", 1, 2 },
    { "Show S10E100 720p", "Show", 10, 100 },
    { "Show S100E1", "Show", 100, 1 },
    { "Show S1000E1", "Show S1000E1", 1, std::nullopt },
    { "Show S1E12345", "Show S1E12345", 1, std::nullopt },
    { "Show S01._E02", "Show S01._E02", 1, std::nullopt },
    { "Show S01 \t- E02", "Show", 1, 2 },
    { "Show S01E02x", "Show S01E02x", 1, std::nullopt },
    { "Show S01E02_HD", "Show S01E02_HD", 1, std::nullopt },
    { "Show S01E02x S03E04", "Show S01E02x", 3, 4 },
    { "ShowS01E02", "Show", 1, 2 },
    { "\tShow\t S01E02", "Show", 1, 2 },
    { "Show S01E02\xC3\xA9", "Show S01E02\xC3\xA9", 1, std::nullopt },
    { "Show S01E02\xCC\x81", "Show S01E02\xCC\x81", 1, std::nullopt },
    { "Show S01E02\xE2\x80\x8B", "Show S01E02\xE2\x80\x8B", 1, std::nullopt },
    { "Show S01E02\xE2\x98\x85", "Show", 1, 2 },
    { "Show S\xD9\xA1"
      "E\xD9\xA2",
        "Show", 1, std::nullopt },
    { "Show\xE2\x80\xA8S01E02", "Show", 1, 2 },
    { "Show S01E02\x0B", "Show", 1, 2 },
    { "Show S01E02\x0B x", "Show S01E02\x0B x", 1, std::nullopt },
    { "A\xE2\x80\xA8"
      "B S01E02",
        "A\xE2\x80\xA8"
        "B S01E02",
        1, std::nullopt },
    { "Show S\xF0\x9D\x9F\x8F"
      "E2",
        "Show", 1, 2 },
};

TEST(EpisodeTitle, ReadsShowSeasonAndEpisode)
{
    for (const TitleCase &row : kTitles)
        EXPECT_EQ(parseEpisodeTitle(QString::fromUtf8(row.name)),
            (EpisodeTitle { QString::fromUtf8(row.show), row.season, row.episode }))
            << row.name;
}

// Where both engines agree (ASCII without line ends), the scanner must give the
// regular expression's captures.
EpisodeTitle referenceTitle(const QString &name)
{
    static const QRegularExpression pattern(
        uR"(^(.*?)[\s._\-|:]*[Ss](\d{1,3})\s*[._\- ]?\s*[Ee](\d{1,4})\b.*$)"_qs);
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return { name, 1, std::nullopt };
    QString show = match.captured(1);
    while (show.startsWith(u' ') || show.startsWith(u'\t'))
        show.remove(0, 1);
    while (show.endsWith(u' ') || show.endsWith(u'\t'))
        show.chop(1);
    return { show.isEmpty() ? name : show, match.captured(2).toLongLong(), match.captured(3).toLongLong() };
}

TEST(EpisodeTitle, AgreesWithTheRegularExpressionOnAsciiNames)
{
    static const char kAlphabet[] = "SsEe0123456789 ._-|:\txA";
    QRandomGenerator random(11);
    for (int round = 0; round < 50000; ++round) {
        QString name;
        const int length = random.bounded(16);
        for (int i = 0; i < length; ++i)
            name += QLatin1Char(kAlphabet[random.bounded(int(sizeof kAlphabet - 1))]);
        ASSERT_EQ(parseEpisodeTitle(name), referenceTitle(name)) << name.toStdString();
    }
}

} // namespace
